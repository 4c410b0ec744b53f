#include <gtest/gtest.h>

#include <random>

#include "app/settings.h"
#include "base/text.h"

namespace corvel {
namespace {

const Latin1CodePage kCp;

// A code page that cannot give back the bytes 0x80..0xFF: what a multi-byte
// system code page does to enciphered bytes that form no valid character.
class AsciiOnlyCodePage : public CodePage {
 public:
  std::string ToAnsi(std::wstring_view text) const override {
    std::string out;
    for (wchar_t c : text) out.push_back(static_cast<std::uint32_t>(c) < 0x80 ? static_cast<char>(c) : '?');
    return out;
  }
  std::wstring FromAnsi(std::string_view bytes) const override {
    std::wstring out;
    for (char b : bytes) out.push_back(static_cast<unsigned char>(b) < 0x80 ? wchar_t(b) : L'\xFFFD');
    return out;
  }
};

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

// Plain settings file: every line followed by CR LF, Windows-1252 bytes.
std::string PlainFile(const std::vector<std::wstring>& lines) {
  std::wstring text;
  for (const auto& l : lines) text += l + L"\r\n";
  return kCp.ToAnsi(text);
}

SettingsFields Load(const std::optional<std::string>& bytes, SettingsFields f = {}) {
  ApplySettingsFile(bytes, kCp, f);
  return f;
}

// The lines a saved file holds, deciphered (the trailing CR LF is plain).
std::vector<std::wstring> SavedLines(const std::string& file) {
  EXPECT_GE(file.size(), 2u);
  EXPECT_EQ(file.substr(file.size() - 2), "\r\n");
  return SplitLinesCrLf(kCp.FromAnsi(VigenereDecode(kSettingsKey, file.substr(0, file.size() - 2))));
}

void ExpectSameFields(const SettingsFields& a, const SettingsFields& b) {
  EXPECT_EQ(a.line0, b.line0);
  EXPECT_EQ(a.line1, b.line1);
  EXPECT_EQ(a.server, b.server);
  EXPECT_EQ(a.user, b.user);
  EXPECT_EQ(a.password, b.password);
  EXPECT_EQ(a.anonymous, b.anonymous);
  EXPECT_EQ(a.ftpClient, b.ftpClient);
  EXPECT_EQ(a.width, b.width);
  EXPECT_EQ(a.height, b.height);
  EXPECT_EQ(a.keptFlag, b.keptFlag);
  EXPECT_EQ(a.uiLanguage, b.uiLanguage);
}

TEST(Vigenere, AddsTheKeyCyclicallyAcrossLineBreaks) {
  struct Case { std::string key, plain, cipher; };
  const Case cases[] = {
      {"qomu", Bytes({0, 0, 0, 0, 0, 0}), "qomuqo"},
      {"qomu", Bytes({0xFF, 0x0D, 0x0A, 0x20, 0x8F}), Bytes({0x70, 0x7C, 0x77, 0x95, 0x00})},
      {"qomu", "", ""},
      {"", Bytes({1, 2, 0}), Bytes({1, 2, 0})},
      {"\x01", "abc", "bcd"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VigenereEncode(c.key, c.plain), c.cipher);
    EXPECT_EQ(VigenereDecode(c.key, c.cipher), c.plain);
  }
  std::string every;
  for (int i = 0; i < 256 * 4; ++i) every.push_back(static_cast<char>(i / 4));
  EXPECT_EQ(VigenereDecode(kSettingsKey, VigenereEncode(kSettingsKey, every)), every);
}

TEST(Settings, LooksEnciphered) {
  struct Case { std::wstring text; bool enciphered; const char* why; };
  const Case cases[] = {
      {L"", false, "empty: A and B are equal"},
      {L"\t \r\n\t", false, "only what step 1 removes"},
      {L"server.de\r\nbob", false, "printable ASCII only"},
      {L"äöü", true, "nothing printable"},
      {L"abcdäöü", true, "|B| = 7, |A| = 4 < 5"},
      {L"abcdeäö", false, "|B| = 7, |A| = 5, not below 5"},
      {L"kQoä", true, "\"kqo\" goes in any letter case"},
      {L"KQOä", true, "upper case"},
      {L"k\tqoä", true, "tabs go before \"kqo\""},
      {L"k qoä", false, "blanks go after \"kqo\", so it stays"},
      {L"\r\n\r\nä", true, "CR LF pairs go"},
      {L"ab\r", false, "a lone CR stays in B: 2 < round(3 / 1.4) = 2 fails"},
      {L"a\rä", true, "a lone CR stays in B: 1 < 2"},
      {std::wstring(L"ab\0", 3) + L"c", false, "a 0 character is counted, not an end"},
      {std::wstring(L"a\0\0", 3), true, "1 < round(3 / 1.4) = 2"},
  };
  for (const auto& c : cases) EXPECT_EQ(LooksEnciphered(c.text), c.enciphered) << c.why;
}

TEST(Settings, PlainFileWithAFewUmlautsStaysPlain) {
  const std::vector<std::wstring> lines = {L"", L"", L"ftp.müller.de", L"Jörg", L"Passwört", L"  ",
                                           L"", L"1024", L"768", L"true", L"0"};
  const std::string file = PlainFile(lines);
  EXPECT_FALSE(LooksEnciphered(kCp.FromAnsi(file)));
  const auto f = Load(file);
  EXPECT_EQ(f.server, L"ftp.müller.de");
  EXPECT_EQ(f.user, L"Jörg");
  EXPECT_EQ(f.password, L"Passwört");
}

TEST(SplitLinesCrLf, SplitsAtPairsOnly) {
  struct Case { std::wstring text; std::vector<std::wstring> lines; };
  const Case cases[] = {
      {L"", {}},
      {L"\r\n", {L""}},
      {L"\r\n\r\n", {L"", L""}},
      {L"a", {L"a"}},
      {L"a\r\n", {L"a"}},
      {L"a\r\nb", {L"a", L"b"}},
      {L"a\rb\nc", {L"a\rb\nc"}},
      {L"a\r\r\nb", {L"a\r", L"b"}},
      {L"a\n\r\nb\r", {L"a\n", L"b\r"}},
      {std::wstring(L"a\0\r\n\0", 5), {std::wstring(L"a\0", 2), std::wstring(L"\0", 1)}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitLinesCrLf(c.text), c.lines) << Narrow(c.text);
  EXPECT_EQ(SplitLinesCrLf(L"a\r\nb\r\nc", 2), (std::vector<std::wstring>{L"a", L"b"}));
}

TEST(Settings, SaveWritesElevenEncipheredLinesThenCrLf) {
  SettingsFields f;
  f.line0 = L"opaque A";
  f.line1 = L" opaque B ";
  f.server = L" ftp.example.com ";
  f.user = L"  ";
  f.password = L" pass word ";
  f.anonymous = true;
  f.ftpClient = L"  C:\\ftp\\client.exe \t";
  f.width = L" 1024 ";
  f.height = L"768\t";
  f.keptFlag = false;
  f.uiLanguage = 1;
  const std::string file = BuildSettingsFile(f, kCp);
  EXPECT_EQ(SavedLines(file),
            (std::vector<std::wstring>{L"opaque A", L" opaque B ", L" ftp.example.com ", L"  ",
                                       L" pass word ", L"Anonym", L"C:\\ftp\\client.exe", L"1024",
                                       L"768", L"false", L"1"}));
  EXPECT_TRUE(f.anonymous) << "a blank user keeps the anonymous login";
  EXPECT_EQ(f.ftpClient, L"  C:\\ftp\\client.exe \t") << "saving trims the line, not the field";
  EXPECT_TRUE(LooksEnciphered(kCp.FromAnsi(file)));

  SettingsFields loaded = Load(file);
  SettingsFields expected = f;
  expected.ftpClient = L"C:\\ftp\\client.exe";
  expected.width = L"1024";
  expected.height = L"768";
  ExpectSameFields(loaded, expected);
}

TEST(Settings, NamedUserExcludesAnonymousLogin) {
  struct Case { std::wstring user; bool anonymous; std::wstring line5; bool after; };
  const Case cases[] = {
      {L"bob", true, L"  ", false},
      {L" bob ", false, L"  ", false},
      {L"", true, L"Anonym", true},
      {L" \t", true, L"Anonym", true},
      {L"", false, L"  ", false},
  };
  for (const auto& c : cases) {
    SettingsFields f;
    f.user = c.user;
    f.anonymous = c.anonymous;
    EXPECT_EQ(SavedLines(BuildSettingsFile(f, kCp))[5], c.line5) << Narrow(c.user);
    EXPECT_EQ(f.anonymous, c.after) << "the window shows the unchecked box";
  }
}

TEST(Settings, PlainFileIsAcceptedAndSavedEnciphered) {
  const std::string plain = PlainFile({L"A", L"B", L"srv", L"usr", L"pw", L"Anonym", L" client ",
                                       L" 800 ", L"\t600", L"false", L"1"});
  EXPECT_FALSE(IsEncipheredSettingsFile(plain, kCp));
  const SettingsFields f = Load(plain);
  EXPECT_EQ(f.line0, L"A");
  EXPECT_EQ(f.line1, L"B");
  EXPECT_EQ(f.server, L"srv");
  EXPECT_EQ(f.user, L"usr");
  EXPECT_EQ(f.password, L"pw");
  EXPECT_TRUE(f.anonymous);
  EXPECT_EQ(f.ftpClient, L" client ") << "line 6 is taken as it is";
  EXPECT_EQ(f.width, L"800");
  EXPECT_EQ(f.height, L"600");
  EXPECT_FALSE(f.keptFlag);
  EXPECT_EQ(f.uiLanguage, 1);

  SettingsFields again = f;
  const std::string saved = BuildSettingsFile(again, kCp);
  EXPECT_NE(saved, plain);
  EXPECT_TRUE(IsEncipheredSettingsFile(saved, kCp));
  SettingsFields expected = f;
  expected.anonymous = false;  // user "usr" is named
  expected.ftpClient = L"client";
  ExpectSameFields(Load(saved), expected);
}

TEST(Settings, AnonymousLineLoads) {
  struct Case { std::wstring line5; bool anonymous; };
  const Case cases[] = {{L"  ", false}, {L"", false}, {L"\t", false}, {L"Anonym", true}, {L"x", true}, {L" no ", true}};
  for (const auto& c : cases) {
    SettingsFields start;
    start.anonymous = !c.anonymous;
    EXPECT_EQ(Load(PlainFile({L"", L"", L"", L"", L"", c.line5}), start).anonymous, c.anonymous)
        << Narrow(c.line5);
  }
}

TEST(Settings, KeptFlagLine) {
  struct Case { std::wstring line9; bool before, after; };
  const Case cases[] = {
      {L"true", false, true},   {L"false", true, false},  {L"TRUE", true, true},
      {L"False", false, false}, {L"TRUE", false, false},  {L" true", false, false},
      {L"false ", true, true},  {L"", true, true},        {L"1", false, false},
  };
  for (const auto& c : cases) {
    std::vector<std::wstring> lines(11);
    lines[9] = c.line9;
    SettingsFields start;
    start.keptFlag = c.before;
    SettingsFields f = Load(PlainFile(lines), start);
    EXPECT_EQ(f.keptFlag, c.after) << Narrow(c.line9);
    EXPECT_EQ(SavedLines(BuildSettingsFile(f, kCp))[9], c.after ? L"true" : L"false");
  }
}

TEST(Settings, LanguageLine) {
  struct Case { std::wstring line10; int after; std::wstring saved; };
  const Case cases[] = {
      {L"0", 0, L"0"},    {L"1", 1, L"1"},    {L"7", 7, L"7"},       {L"-2", -2, L"-2"},
      {L" 2 ", 2, L"2"},  {L"\t3", 3, L"3"},  {L"$10", 16, L"16"},   {L"x", 5, L"5"},
      {L"", 5, L"5"},     {L"  ", 5, L"5"},   {L"1.0", 5, L"5"},     {L"9999999999", 5, L"5"},
  };
  for (const auto& c : cases) {
    std::vector<std::wstring> lines(11);
    lines[10] = c.line10;
    SettingsFields start;
    start.uiLanguage = 5;
    SettingsFields f = Load(PlainFile(lines), start);
    EXPECT_EQ(f.uiLanguage, c.after) << Narrow(c.line10);
    EXPECT_EQ(SavedLines(BuildSettingsFile(f, kCp))[10], c.saved);
  }
}

TEST(Settings, MissingFileTakesOnlyLinesSixToTen) {
  SettingsFields start;
  start.line0 = L"a";
  start.line1 = L"b";
  start.server = L"design server";
  start.user = L"u";
  start.password = L"p";
  start.anonymous = true;
  start.ftpClient = L"client";
  start.width = L"1";
  start.height = L"2";
  start.keptFlag = false;
  start.uiLanguage = 3;
  SettingsFields expected = start;
  expected.ftpClient.clear();
  expected.width.clear();
  expected.height.clear();
  ExpectSameFields(Load(std::nullopt, start), expected);
}

TEST(Settings, ShortFilesReadMissingLinesAsEmpty) {
  SettingsFields start;
  start.server = L"design";
  start.anonymous = true;
  start.width = L"640";
  start.uiLanguage = 4;
  struct Case { std::string file; std::wstring line0, line1, server; };
  const Case cases[] = {
      {"", L"", L"", L""},
      {"\r\n", L"", L"", L""},
      {"one line", L"one line", L"", L""},
      {"a\r\nb\r\nsrv", L"a", L"b", L"srv"},
  };
  for (const auto& c : cases) {
    const SettingsFields f = Load(c.file, start);
    EXPECT_EQ(f.line0, c.line0);
    EXPECT_EQ(f.line1, c.line1);
    EXPECT_EQ(f.server, c.server) << "an existing file decides lines 0 to 5";
    EXPECT_EQ(f.user, L"");
    EXPECT_FALSE(f.anonymous);
    EXPECT_EQ(f.width, L"");
    EXPECT_TRUE(f.keptFlag);
    EXPECT_EQ(f.uiLanguage, 4);
  }
}

// The text that enciphers to `cipher` when it starts `offset` bytes into the file.
std::wstring TextEncipheringTo(const std::string& cipher, std::size_t offset) {
  std::string key;
  for (std::size_t i = 0; i < kSettingsKey.size(); ++i) key += kSettingsKey[(offset + i) % kSettingsKey.size()];
  return kCp.FromAnsi(VigenereDecode(key, cipher));
}

// Enciphered bytes take every value: CR, LF and 0 alone or in pairs must come
// back exactly, wherever in the file and under whichever key byte they fall.
TEST(Settings, EncipheredControlBytesSurvive) {
  const std::string wanted[] = {
      Bytes({0x0D, 0x0A, 0x00, 0x0D, 0x0A, 0x00, 0x0D, 0x0A, 0x00, 0x0D, 0x0A, 0x00}),
      Bytes({0x00, 0x00, 0x0A, 0x0D, 0x0A}),
      Bytes({0x0A, 0x41, 0x0D}),
  };
  SettingsFields f;
  std::size_t at[3];
  at[0] = 0;
  at[1] = at[0] + wanted[0].size() + 2;
  at[2] = at[1] + wanted[1].size() + 2;
  f.line0 = TextEncipheringTo(wanted[0], at[0]);
  f.line1 = TextEncipheringTo(wanted[1], at[1]);
  f.server = TextEncipheringTo(wanted[2], at[2]);
  std::string everyByte;
  for (int b = 0; b < 256; ++b) everyByte.push_back(static_cast<char>(b));
  f.password = kCp.FromAnsi(everyByte);  // lone CR, LF and 0 inside a line
  f.keptFlag = false;
  f.uiLanguage = 2;
  const std::string file = BuildSettingsFile(f, kCp);
  for (int i = 0; i < 3; ++i) ASSERT_EQ(file.substr(at[i], wanted[i].size()), wanted[i]) << i;
  ExpectSameFields(Load(file), f);
}

TEST(Settings, SettingsRichInAccentedLettersStillLoad) {
  // Enciphered Latin-1 letters mostly land on printable ASCII, so the
  // heuristic alone would read this file as plain and lose every field.
  SettingsFields f;
  f.password = std::wstring(12, L'ä');
  f.uiLanguage = 1;
  const std::string file = BuildSettingsFile(f, kCp);
  EXPECT_FALSE(LooksEnciphered(kCp.FromAnsi(file)));
  EXPECT_TRUE(IsEncipheredSettingsFile(file, kCp));
  ExpectSameFields(Load(file), f);
  for (int n = 0; n <= 40; ++n) {
    SettingsFields g;
    g.user = std::wstring(n, L'é');
    g.password = std::wstring(n, L'Ö');
    ExpectSameFields(Load(BuildSettingsFile(g, kCp)), g);
  }
}

TEST(Settings, DeciphersTheFileBytesNotTheirTextRoundTrip) {
  const AsciiOnlyCodePage ascii;
  SettingsFields f;
  f.server = L"ftp.example.com";
  f.user = L"bob";
  f.width = L"1280";
  f.uiLanguage = 1;
  const std::string ours = BuildSettingsFile(f, ascii);
  // Without its final CR LF the file is no longer exactly ours: the heuristic decides.
  const std::string cut = ours.substr(0, ours.size() - 2);
  ASSERT_FALSE(IsEncipheredSettingsFile(cut, ascii));
  for (const std::string& file : {ours, cut}) {
    SettingsFields loaded;
    ApplySettingsFile(file, ascii, loaded);
    ExpectSameFields(loaded, f);
  }
}

TEST(Settings, PlainFileTakenForEncipheredIsDecipheredAsIs) {
  const std::string file = PlainFile({L"äöüÄÖÜ", L"ß"});
  const SettingsFields f = Load(file);
  EXPECT_EQ(f.line0, kCp.FromAnsi(VigenereDecode(kSettingsKey, file)).substr(0, f.line0.size()));
  EXPECT_NE(f.line0, L"äöüÄÖÜ");
}

TEST(Settings, BadFilesLoadWithoutHarm) {
  std::mt19937 random(20240611);
  auto randomBytes = [&](std::size_t n) {
    std::string s(n, '\0');
    for (auto& c : s) c = static_cast<char>(random() & 0xFF);
    return s;
  };
  std::string crlfOnly;
  crlfOnly.reserve(10'000'000);
  while (crlfOnly.size() < 10'000'000) crlfOnly += "\r\n";
  SettingsFields start;
  start.keptFlag = false;
  start.uiLanguage = 9;
  SettingsFields allEmpty = start;  // what a file of empty lines gives
  struct Case { std::string file; const SettingsFields* expected; std::size_t line0Size; };
  const Case cases[] = {
      {randomBytes(1), nullptr, 0},
      {randomBytes(17), nullptr, 0},
      {randomBytes(4096), nullptr, 0},
      {randomBytes(10'000'000), nullptr, 0},
      {std::string(10'000'000, 'a'), nullptr, 10'000'000},
      {crlfOnly, &allEmpty, 0},
      {"\r\n\r\n\r\n", &allEmpty, 0},
      {std::string(1000, '\0'), nullptr, 1000},
      {"\r", nullptr, 1},
      {"\n\n\n", nullptr, 3},
  };
  for (const auto& c : cases) {
    SettingsFields f = start;
    ASSERT_NO_THROW(ApplySettingsFile(c.file, kCp, f)) << c.file.size();
    if (c.expected) {
      ExpectSameFields(f, *c.expected);
    }
    if (c.line0Size) {
      EXPECT_EQ(f.line0.size(), c.line0Size);
    }
    if (c.file.size() > 100'000) continue;
    // What was loaded saves and loads back.
    SettingsFields saved = f;
    const std::string bytes = BuildSettingsFile(saved, kCp);
    SettingsFields again = start;
    ApplySettingsFile(bytes, kCp, again);
    EXPECT_EQ(again.line0, saved.line0) << c.file.size();
    EXPECT_EQ(again.password, saved.password) << c.file.size();
    EXPECT_EQ(again.uiLanguage, saved.uiLanguage) << c.file.size();
  }
}

TEST(Latin1CodePage, MapsLikeWindows1252) {
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    EXPECT_EQ(kCp.ToAnsi(kCp.FromAnsi(byte)), byte) << b;
  }
  struct Case { std::wstring text; std::string bytes; };
  const Case cases[] = {
      {L"€", "\x80"},          {L"\x81", "\x81"},    {L"Ÿ", "\x9F"},  {L"ä", "\xE4"},
      {L"\xA0", "\xA0"},       {L"Ω", "?"},          {L"\x80", "?"},  {L"\U0001F600", "?"},
      {std::wstring(L"a\0b", 3), std::string("a\0b", 3)},
  };
  for (const auto& c : cases) EXPECT_EQ(kCp.ToAnsi(c.text), c.bytes) << Narrow(c.text);
}

}  // namespace
}  // namespace corvel
