// The catalogue reader against catalogues that the test writes itself (an independent writer of the
// .mo layout), the plural rules, the printf check of translations and the messages that use them.
#include "common/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "common/language.h"
#include "common/message.h"
#include "common/printf_format.h"
#include "tests/support/temp_folder.h"

namespace pelimon {
namespace {

struct MoEntry {
    std::string original;  // "id", "context\4id" or "id\0plural"
    std::string translation;
};

// The bytes of a .mo file holding `entries` (sorted here, as msgfmt sorts them).
std::vector<char> MoFile(std::vector<MoEntry> entries, bool big_endian = false) {
    std::sort(entries.begin(), entries.end(),
              [](const MoEntry& a, const MoEntry& b) { return a.original < b.original; });
    const auto n = static_cast<uint32_t>(entries.size());
    std::vector<uint32_t> words = {0x950412de, 0, n, 28, 28 + 8 * n, 0, 28 + 16 * n};
    std::string strings;
    const uint32_t strings_at = 28 + 16 * n;
    std::vector<uint32_t> originals;
    std::vector<uint32_t> translations;
    const auto add = [&](std::vector<uint32_t>& table, const std::string& text) {
        table.insert(table.end(),
                     {static_cast<uint32_t>(text.size()), static_cast<uint32_t>(strings_at + strings.size())});
        strings += text + '\0';
    };
    for (const MoEntry& entry : entries) {
        add(originals, entry.original);
    }
    for (const MoEntry& entry : entries) {
        add(translations, entry.translation);
    }
    words.insert(words.end(), originals.begin(), originals.end());
    words.insert(words.end(), translations.begin(), translations.end());
    std::vector<char> bytes(words.size() * 4);
    for (size_t i = 0; i < words.size(); ++i) {
        const uint32_t word = big_endian ? __builtin_bswap32(words[i]) : words[i];
        std::memcpy(bytes.data() + i * 4, &word, 4);
    }
    bytes.insert(bytes.end(), strings.begin(), strings.end());
    return bytes;
}

using namespace std::string_literals;

const std::vector<MoEntry> kEntries = {
    {"", "Language: qq\nPlural-Forms: nplurals=3; plural=(n==1 ? 0 : n%10>=2 && n%10<=4 ? 1 : 2);\n"},
    {"Yes", "Qyes"},
    {"Manual", "Qmanual"},
    {"exposure program\4Manual", "Qmanual setting"},
    {"Untranslated", ""},
    {"%zu file\0%zu files"s, "%zu qfile\0%zu qfiles-few\0%zu qfiles-many"s},
    {"Cannot read %s (%s).", "%2$s: Q%1$s"},
    {"unrecognized option '%s'", "Q%d"},
};

TEST(Catalogue, FindsMessagesByContextAndCount) {
    for (const bool big_endian : {false, true}) {
        SCOPED_TRACE(big_endian ? "big-endian" : "little-endian");
        const Result<Catalogue> catalogue = Catalogue::FromBytes(MoFile(kEntries, big_endian));
        ASSERT_TRUE(catalogue) << catalogue.error().message;
        const Catalogue& c = catalogue.value();
        EXPECT_STREQ(c.Find(nullptr, "Yes"), "Qyes");
        EXPECT_STREQ(c.Find(nullptr, "Manual"), "Qmanual");
        EXPECT_STREQ(c.Find("exposure program", "Manual"), "Qmanual setting");
        EXPECT_EQ(c.Find("other", "Manual"), nullptr);
        EXPECT_EQ(c.Find(nullptr, "No"), nullptr);
        EXPECT_EQ(c.Find(nullptr, "Untranslated"), nullptr);
        const struct {
            uint64_t n;
            const char* form;
        } kCounts[] = {{1, "%zu qfile"}, {3, "%zu qfiles-few"}, {5, "%zu qfiles-many"}, {22, "%zu qfiles-few"}};
        for (const auto& count : kCounts) {
            EXPECT_STREQ(c.FindPlural(nullptr, "%zu file", count.n), count.form) << count.n;
        }
        EXPECT_EQ(c.FindPlural(nullptr, "Yes", 2), nullptr);
        EXPECT_EQ(c.Messages().size(), kEntries.size() - 1);
    }
}

// A damaged file fails with a message and never reads outside its bytes (every prefix of a good
// file, and files with one field pointing elsewhere).
TEST(Catalogue, RefusesDamagedFiles) {
    const std::vector<char> good = MoFile(kEntries);
    for (size_t length = 0; length < good.size(); ++length) {
        const Result<Catalogue> cut =
            Catalogue::FromBytes(std::vector<char>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length)));
        EXPECT_FALSE(cut) << length;
    }
    const auto with_word = [&good](size_t offset, uint32_t word) {
        std::vector<char> bytes = good;
        std::memcpy(bytes.data() + offset, &word, 4);
        return bytes;
    };
    const struct {
        const char* name;
        std::vector<char> bytes;
    } kDamaged[] = {
        {"signature", with_word(0, 0x12345678)},
        {"revision 2", with_word(4, 2u << 16)},
        {"count beyond the file", with_word(8, 0x10000000)},
        {"original table beyond the file", with_word(12, 0xFFFFFFF0)},
        {"translation table beyond the file", with_word(16, static_cast<uint32_t>(good.size()))},
        {"string beyond the file", with_word(28 + 4, 0xFFFFFFFF)},
        {"string without its NUL", with_word(28, 0x20)},
        {"plural rule", MoFile({{"", "Plural-Forms: nplurals=2; plural=n !=;\n"}})},
    };
    for (const auto& damaged : kDamaged) {
        const Result<Catalogue> read = Catalogue::FromBytes(damaged.bytes);
        ASSERT_FALSE(read) << damaged.name;
        EXPECT_NE(read.error().message.find("not a valid message catalogue"), std::string::npos) << damaged.name;
    }
}

TEST(PluralForms, ChooseTheFormOfACount) {
    const struct {
        const char* header;
        std::vector<size_t> forms;  // of n = 0, 1, 2, 5, 11, 21, 102
    } kRules[] = {
        {"", {1, 0, 1, 1, 1, 1, 1}},
        {"Plural-Forms: nplurals=1; plural=0;", {0, 0, 0, 0, 0, 0, 0}},
        {"Plural-Forms: nplurals=2; plural=(n > 1);", {0, 0, 1, 1, 1, 1, 1}},
        {"Plural-Forms: nplurals=3; plural=n%10==1 && n%100!=11 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || "
         "n%100>=20) ? 1 : 2;",
         {2, 0, 1, 2, 2, 0, 1}},
        {"Plural-Forms: nplurals=6; plural=n==0 ? 0 : n==1 ? 1 : n==2 ? 2 : n%100>=3 && n%100<=10 ? 3 : n%100>=11 ? "
         "4 : 5;",
         {0, 1, 2, 3, 4, 4, 5}},
        // 12 / 0 and forms beyond the count give form 0.
        {"Plural-Forms: nplurals=3; plural=12 / n;", {0, 0, 0, 2, 1, 0, 0}},
        {"Plural-Forms: nplurals=2; plural=!(n - 1) ? 0 : !!n;", {0, 0, 1, 1, 1, 1, 1}},
    };
    const uint64_t kCounts[] = {0, 1, 2, 5, 11, 21, 102};
    for (const auto& rule : kRules) {
        SCOPED_TRACE(rule.header);
        const std::optional<PluralForms> forms = PluralForms::FromHeader(rule.header);
        ASSERT_TRUE(forms);
        for (size_t i = 0; i < std::size(kCounts); ++i) {
            EXPECT_EQ(forms->FormOf(kCounts[i]), rule.forms[i]) << "n = " << kCounts[i];
        }
    }
    const std::string deep = "Plural-Forms: nplurals=2; plural=" + std::string(100, '(') + "n" + std::string(100, ')');
    for (const std::string& malformed :
         {std::string("Plural-Forms: nplurals=2;"), std::string("Plural-Forms: plural=n;"),
          std::string("Plural-Forms: nplurals=0; plural=0;"), std::string("Plural-Forms: nplurals=2; plural=n ? 1;"),
          deep}) {
        EXPECT_FALSE(PluralForms::FromHeader(malformed)) << malformed;
    }
}

TEST(PrintfFormat, TranslationMustTakeTheOriginalsArguments) {
    const struct {
        const char* original;
        const char* translation;
        bool fits;
    } kCases[] = {
        {"Cannot read %s (%s).", "%s を読み込めませんでした（%s）。", true},
        {"Cannot read %s (%s).", "%2$s: %1$s", true},
        {"Cannot read %s (%s).", "%1$s だけ", true},
        {"%d:%02d left", "残り %d:%02d", true},
        {"%zu files, 100%%", "%zu 件、100%%", true},
        {"Cannot read %s (%s).", "%s", true},         // trailing arguments may be left out
        {"Cannot read %s (%s).", "%2$s", false},      // but not leading ones
        {"Cannot read %s (%s).", "%s %s %s", false},  // one more than given
        {"Cannot read %s (%s).", "%d (%s)", false},   // another type
        {"%zu files", "%u files", false},             // another size
        {"%s", "%n", false},
        {"%s", "%*s", false},
        {"%s %s", "%1$s %s", false},  // numbered and unnumbered mixed
        {"%s", "100%", false},        // a lone % at the end
        {"no arguments", "引数なし", true},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(TranslationFitsFormat(c.original, c.translation), c.fits) << c.original << " / " << c.translation;
    }
}

// Messages read the current catalogue; a translation that does not fit its format is passed
// over for the English.
TEST(Message, ReadsTheCurrentLanguage) {
    const test::TempFolder folder;
    const std::vector<char> mo = MoFile(kEntries);
    folder.Write("qq/LC_MESSAGES/pelimon.mo", std::string_view(mo.data(), mo.size()));
    ASSERT_TRUE(SetLanguage("qq", {folder / ""}));
    constexpr PluralMessage kFiles("%zu file", "%zu files");
    EXPECT_STREQ(Message("Yes").c_str(), "Qyes");
    EXPECT_EQ(Message("Manual", "exposure program").str(), "Qmanual setting");
    EXPECT_EQ(Message("Untranslated").view(), "Untranslated");
    EXPECT_EQ(Format(Message("Cannot read %s (%s)."), "a.jpg", std::string("gone")), "gone: Qa.jpg");
    EXPECT_EQ(Format(Message("unrecognized option '%s'"), "--x"), "unrecognized option '--x'");
    EXPECT_EQ(Format(kFiles, 3, size_t{3}), "3 qfiles-few");
    ASSERT_TRUE(SetLanguage(kEnglish));
    EXPECT_STREQ(Message("Yes").c_str(), "Yes");
    EXPECT_EQ(Format(kFiles, 1, size_t{1}), "1 file");
    EXPECT_EQ(Format(kFiles, 2, size_t{2}), "2 files");
    EXPECT_EQ(Format(Message("%s and %d"), std::string(300, 'x'), 7), std::string(300, 'x') + " and 7");
    ASSERT_TRUE(SetLanguage(kJapanese));
}

// Every catalogue the build compiled (po/LINGUAS and the tests' pseudo-translation) reads, and
// finds each of its messages with its first form. (msgfmt --check has compared their formats.)
TEST(Catalogue, BuildCataloguesServeEveryMessage) {
    const std::string languages = PELIMON_CATALOGUE_LANGUAGES;
    for (size_t at = 0; at < languages.size();) {
        const size_t end = std::min(languages.find(',', at), languages.size());
        const std::string language = languages.substr(at, end - at);
        at = end + 1;
        SCOPED_TRACE(language);
        const Result<Catalogue> read = Catalogue::Read(CataloguePath(PELIMON_BUILD_LOCALE_DIR, language));
        ASSERT_TRUE(read) << read.error().message;
        const std::vector<Catalogue::Message> messages = read.value().Messages();
        EXPECT_GT(messages.size(), 300u);
        for (const Catalogue::Message& message : messages) {
            SCOPED_TRACE(std::string(message.id));
            const std::string context(message.context);
            const char* wanted = context.empty() ? nullptr : context.c_str();
            const char* found = message.plural.empty() ? read.value().Find(wanted, message.id)
                                                       : read.value().FindPlural(wanted, message.id, 1);
            ASSERT_NE(found, nullptr);
            EXPECT_EQ(std::string_view(found), message.forms.front());
        }
    }
}

}  // namespace
}  // namespace pelimon
