// The program's texts. Each is a message of the gettext catalogue (po/*.po): written in the code as
// its English text, the message id, and read in the current language (common/language.h), which
// the catalogue of that language translates. English needs no catalogue: its texts are the ids.
//
// A text is declared with its id written in the call, so that scripts/update-catalogue.sh
// (xgettext) finds it:
//   inline constexpr Message kNoExif = Message("The file has no Exif data.");
//   Message("Manual", "exposure program")        // one English text in two senses: a context
//   Format(Message("Cannot read %s (%s)."), path, why)
//   Format(PluralMessage("wrote %zu file", "wrote %zu files"), count, count)
// Printf formats are translated as formats: a translation may reorder the arguments ("%2$s").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace pelimon {

// True when `text` holds a Japanese character: a UTF-8 sequence of U+3000..U+FFFF (kana, kanji,
// full-width forms and punctuation), whose lead byte is 0xE3..0xEF.
constexpr bool HoldsJapanese(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0xE3 && byte <= 0xEF) {
            return true;
        }
    }
    return false;
}

class Message {
  public:
    // `id` is the English text; `context` (optional) tells apart two messages of one English text
    // that other languages say differently. An empty id, or one that is not English, does not
    // compile.
    consteval explicit Message(const char* id, const char* context = nullptr) : id_(id), context_(context) {
        if (id == nullptr || *id == '\0') {
            throw "a message needs its English text";
        }
        if (HoldsJapanese(id)) {
            throw "a message id is the English text";
        }
    }

    const char* id() const { return id_; }
    const char* context() const { return context_; }  // nullptr when none

    // The text in the current language: the catalogue's translation, else the id itself.
    // NUL-terminated; valid for the rest of the program (catalogues are never unloaded).
    const char* c_str() const;
    std::string_view view() const { return c_str(); }
    std::string str() const { return c_str(); }
    operator std::string_view() const { return view(); }  // NOLINT(google-explicit-constructor)

  private:
    const char* id_;
    const char* context_;
};

inline std::string operator+(const std::string& left, const Message& right) {
    return left + right.c_str();
}
inline std::string operator+(const Message& left, const std::string& right) {
    return left.c_str() + right;
}

// A text that depends on a count ("1 file", "2 files"); how many forms a language has and which a
// count takes is its catalogue's plural rule. Both ids take the same printf arguments.
class PluralMessage {
  public:
    consteval PluralMessage(const char* singular, const char* plural, const char* context = nullptr)
        : singular_(singular), plural_(plural), context_(context) {
        if (singular == nullptr || plural == nullptr || *singular == '\0' || *plural == '\0') {
            throw "a counted message needs both English texts";
        }
        if (HoldsJapanese(singular) || HoldsJapanese(plural)) {
            throw "a message id is the English text";
        }
    }

    const char* singular() const { return singular_; }
    const char* plural() const { return plural_; }
    const char* context() const { return context_; }

    // The English form of `count`: the singular for 1, the plural otherwise.
    const char* English(uint64_t count) const { return count == 1 ? singular_ : plural_; }
    // The form of `count` in the current language (the English form without a translation).
    const char* For(uint64_t count) const;

  private:
    const char* singular_;
    const char* plural_;
    const char* context_;
};

namespace format_detail {

inline const char* Argument(const std::string& text) {
    return text.c_str();
}
inline const char* Argument(const char* text) {
    return text;
}
inline const char* Argument(const Message& text) {
    return text.c_str();
}
template <class T>
requires std::is_arithmetic_v<T> T Argument(T value) {
    return value;
}
std::string_view Argument(std::string_view) = delete;  // not NUL-terminated

// `translated` when it takes the arguments of `original` (printf_format.h), else `original`.
const char* Choose(const char* original, const char* translated);

// vsnprintf into a string of whatever length the text needs.
std::string Print(const char* format, ...);

}  // namespace format_detail

// The printf format `format` in the current language with `args` (strings, C strings, messages
// and numbers). A translation whose conversions do not fit the id's is not used: the English
// format is, so that a damaged catalogue can never make printf read a wrong argument.
template <class... Args>
std::string Format(const Message& format, const Args&... args) {
    return format_detail::Print(format_detail::Choose(format.id(), format.c_str()), format_detail::Argument(args)...);
}

// The form of `count` of a counted format, with `args` (which usually start with the count).
template <class... Args>
std::string Format(const PluralMessage& format, uint64_t count, const Args&... args) {
    return format_detail::Print(format_detail::Choose(format.English(count), format.For(count)),
                                format_detail::Argument(args)...);
}

}  // namespace pelimon
