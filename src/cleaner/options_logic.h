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

// BadDays: the age option is on and the day box holds no count (empty, or
// not digits); refused with the "0 days" message, as a "/d" the engine cannot
// read would stop every later cleaning run at that rule.
// InvalidMask: empty, or holding a "/", which no file name holds and which
// the engine would read as an option ("*.x /u" is a subfolder rule).
enum class RuleInputError { None, NoPath, ZeroDays, BadDays, InvalidMask };

// The checks in the window's order; on None `line` holds the rule line. The
// folder is written with backslashes and ends in exactly one: Windows takes
// "/" for a separator, but the engine reads "/u" and "/d" anywhere in a line.
RuleInputError FormRuleLine(const RuleInputs& inputs, std::wstring& line);

// Splits a line back into the inputs. The boxes are only ever ticked here,
// never cleared.
void TakeRuleBack(const std::wstring& line, RuleInputs& inputs);

}  // namespace corvel
