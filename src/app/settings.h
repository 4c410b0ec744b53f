// The settings file "corvel.ini": eleven lines, enciphered as a whole with a
// byte-wise Vigenère cipher, followed by one CR LF. Reading also accepts a
// plain file. Only the rules live here; the main window owns the fields and
// the file itself.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/codepage.h"

namespace corvel {

struct SettingsFields {
  std::wstring line0, line1;              // opaque lines, carried through unchanged
  std::wstring server, user, password;    // EditServer, EditUser, EditPassword
  bool anonymous = false;                 // CheckBox1
  std::wstring ftpClient, width, height;  // EditFtpClient, EditWidth, EditHeight
  bool keptFlag = true;                   // line 9
  int uiLanguage = 0;                     // line 10
};

inline constexpr std::string_view kSettingsKey = "qomu";
inline constexpr std::size_t kSettingsLineCount = 11;

// result[j] = bytes[j] +/- key[j mod k] (mod 256); an empty key changes nothing.
std::string VigenereEncode(std::string_view key, std::string_view bytes);
std::string VigenereDecode(std::string_view key, std::string_view bytes);

// The reading heuristic: true when too few of the text's characters (line
// breaks, tabs, "kqo" and blanks left out) are printable ASCII.
bool LooksEnciphered(std::wstring_view text);

// True when the bytes are exactly what BuildSettingsFile writes: enciphered
// eleven CR LF lines whose line 9 is "true"/"false" and line 10 an integer,
// then CR LF. Such a file is deciphered whatever LooksEnciphered says, since
// settings rich in accented letters can encipher to mostly printable ASCII.
bool IsEncipheredSettingsFile(std::string_view fileBytes, const CodePage& cp);

// The text of a settings file: deciphered when it is one of ours or when
// LooksEnciphered takes it for enciphered, else as read.
std::wstring SettingsFileText(std::string_view fileBytes, const CodePage& cp);

// Loading: fileBytes is nullopt when the file does not exist. Only the fields
// the file decides are written; the others keep what the caller put in.
void ApplySettingsFile(const std::optional<std::string>& fileBytes, const CodePage& cp,
                       SettingsFields& f);

// Saving: the exact bytes to write (the enciphered eleven lines, then CR LF).
// Unchecks f.anonymous when the trimmed user is not empty.
std::string BuildSettingsFile(SettingsFields& f, const CodePage& cp);

}  // namespace corvel
