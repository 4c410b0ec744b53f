// Path parts and the language type: the conventions every caller shares.
#include <gtest/gtest.h>

#include "base/language.h"
#include "base/path.h"

namespace corvel {
namespace {

TEST(PathParts, Table) {
  struct Case { const wchar_t* path; const wchar_t* folder; const wchar_t* name; const wchar_t* extension; };
  const Case cases[] = {
      {L"C:\\a\\b.txt", L"C:\\a\\", L"b.txt", L".txt"},
      {L"C:\\a\\archive.tar.gz", L"C:\\a\\", L"archive.tar.gz", L".gz"},
      {L"C:\\a.d\\b", L"C:\\a.d\\", L"b", L""},  // a dot of the folder is no extension
      {L"C:b.ini", L"C:", L"b.ini", L".ini"},     // drive-relative
      {L"C:\\", L"C:\\", L"", L""},
      {L"name.", L"", L"name.", L"."},
      {L".profile", L"", L".profile", L".profile"},
      {L"", L"", L"", L""},
      {L"\\\\server\\share\\x.y", L"\\\\server\\share\\", L"x.y", L".y"},
      {L"C:/Apps/a.exe", L"C:/Apps/", L"a.exe", L".exe"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FolderPart(c.path), c.folder) << c.path;
    EXPECT_EQ(FileNamePart(c.path), c.name) << c.path;
    EXPECT_EQ(ExtensionPart(c.path), c.extension) << c.path;
    EXPECT_EQ(FolderPart(c.path) + FileNamePart(c.path), c.path) << c.path;
  }
}

TEST(PathParts, ParentFolderAsAFolderIsWritten) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"C:\\a\\b", L"C:\\a"}, {L"C:\\a", L"C:\\"}, {L"\\a", L"\\"}, {L"a", L""}, {L"C:\\a\\", L"C:\\a"}};
  for (const auto& [path, parent] : cases) EXPECT_EQ(ParentFolder(path), parent);
}

TEST(PathParts, JoinKeepsOneBackslash) {
  EXPECT_EQ(JoinPath(L"C:\\", L"a"), L"C:\\a");
  EXPECT_EQ(JoinPath(L"C:\\T", L"a"), L"C:\\T\\a");
  EXPECT_EQ(JoinPath(L"C:", L"a"), L"C:a");
  EXPECT_EQ(JoinPath(L"", L"a"), L"\\a");
}

// Only the stored 0 is German; every other value, negative ones too, is English
// and is kept as stored.
TEST(LanguageType, OnlyZeroIsGerman) {
  for (int stored : {-1, 1, 2, 1000}) {
    const Language l(stored);
    EXPECT_TRUE(l.English()) << stored;
    EXPECT_EQ(l.Stored(), stored);
    EXPECT_STREQ(l.Pick(L"de", L"en"), L"en");
  }
  EXPECT_TRUE(Language().German());
  EXPECT_STREQ(Language(0).Pick(L"de", L"en"), L"de");
  EXPECT_STREQ((Bilingual{L"Ja", L"Yes"}.In(Language::kEnglish)), L"Yes");
}

}  // namespace
}  // namespace corvel
