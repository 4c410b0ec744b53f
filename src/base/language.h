// The interface language: 0 is German and every other stored value English.
// The value is kept as stored (the settings write back what they read), and
// this is the one place that tells German from English. Portable.
#pragma once

namespace corvel {

class Language {
 public:
  static constexpr int kGerman = 0, kEnglish = 1;  // what the language buttons set

  constexpr Language(int stored = kGerman) : stored_(stored) {}  // NOLINT: a stored integer is a language
  constexpr int Stored() const { return stored_; }
  constexpr bool German() const { return stored_ == kGerman; }
  constexpr bool English() const { return !German(); }
  // The text of this language out of a German and an English one.
  template <class Text>
  constexpr Text Pick(Text german, Text english) const {
    return German() ? german : english;
  }

 private:
  int stored_;
};

// One text in both languages: the shape of every two-language table.
struct Bilingual {
  const wchar_t* german;
  const wchar_t* english;
  constexpr const wchar_t* In(Language language) const { return language.Pick(german, english); }
};

// One row of a window's two-language table: a component's caption or hint.
// An empty component names the window's own caption.
enum class TextOf { Caption, Hint };
struct LanguageText {
  const wchar_t* component;
  TextOf what;
  const wchar_t* german;
  const wchar_t* english;
  constexpr const wchar_t* In(Language language) const { return language.Pick(german, english); }
};

}  // namespace corvel
