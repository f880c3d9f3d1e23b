#include <benchmark/benchmark.h>

#include "shell/ParameterEditor.h"
#include "support/QuietPorts.h"

namespace {

// Opening the parameter editor: every box and the worked example shown from the parameters.
void BM_OpenParameterEditor(benchmark::State& state) {
  pg::test::QuietPorts ports;
  pg::Program program(ports.ports());
  for (auto _ : state) {
    pg::ParameterEditor editor(program);
    benchmark::DoNotOptimize(editor.lblEgTo[1].caption.data());
  }
}
BENCHMARK(BM_OpenParameterEditor);

// One value typed into a box and accepted with Enter: the filter, the validation and the example
// worked again, as after every change a user makes.
void BM_TypeAndAcceptAValue(benchmark::State& state) {
  pg::test::QuietPorts ports;
  pg::Program program(ports.ports());
  pg::ParameterEditor editor(program);
  const std::string values[] = {"50.73", "56"};
  int turn = 0;
  for (auto _ : state) {
    const std::string& value = values[turn++ % 2];
    editor.TextEdited(pg::ParameterEditor::EgGross, "");
    for (char key : value)
      if (editor.KeyTyped(pg::ParameterEditor::EgGross, key))
        editor.TextEdited(pg::ParameterEditor::EgGross,
                          editor.fields[pg::ParameterEditor::EgGross].text + key);
    editor.KeyTyped(pg::ParameterEditor::EgGross, '\r');
    benchmark::DoNotOptimize(editor.lblEgDiff.caption.data());
  }
  if (ports.dialogs.messages != 0) state.SkipWithError("a value was refused");
}
BENCHMARK(BM_TypeAndAcceptAValue);

}  // namespace
