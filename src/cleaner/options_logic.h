// What the rule-list options window does with its inputs: a rule line from
// them, and a line taken back into them for editing. Portable.
#pragma once
#include <string>

namespace corvel {

struct RuleInputs {
  std::wstring folder;        // EditPfad
  int maskChoice = 0;         // RadioGroup1: 0 all files, 1 the mask
  std::wstring mask = L"*.tmp";  // Edit1
  bool ageOn = false;         // CheckBox2
  std::wstring days = L"10";  // EditTage
  bool subfolders = false;    // CheckBox1
};

enum class RuleInputError { None, NoPath, ZeroDays, EmptyMask };

// The checks in the window's order; on None `line` holds the rule line.
RuleInputError FormRuleLine(const RuleInputs& inputs, std::wstring& line);

// Splits a line back into the inputs. The boxes are only ever ticked here,
// never cleared.
void TakeRuleBack(const std::wstring& line, RuleInputs& inputs);

}  // namespace corvel
