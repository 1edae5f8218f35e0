// A compiled gettext catalogue (a .mo file, as msgfmt writes it) read into memory, and the lookup
// of a message's translation in it. This is the program's own reader rather than libintl's
// gettext(), because gettext() answers only for the locale the C library has set up: it returns
// every message untranslated under LC_MESSAGES=C, where the program speaks Japanese, and when the
// user's machine has no ja_JP locale installed.
//
// The file: a header of 32-bit words in the writer's byte order (magic 0x950412de), the number of
// strings N and the offsets of two tables of N (length, offset) pairs, the originals sorted and the
// translations in the same order; every string is followed by a NUL. An original is "id", or
// "context\4id" for a message with a context, and for a counted message "id\0plural id"; its
// translation then holds one form after the other, NUL-separated. The original "" holds the header
// ("Plural-Forms: ..."). The hash table and the system-dependent strings of revision 1 are not read
// (msgfmt writes the latter only for <inttypes.h> macros, which the program's texts do not use).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/plural_forms.h"
#include "common/result.h"

namespace pelimon {

class Catalogue {
  public:
    // Move-only: the entries point into the bytes.
    Catalogue(Catalogue&&) = default;
    Catalogue& operator=(Catalogue&&) = default;
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    // Reads a catalogue from the bytes of its file. Every offset and length is checked against the
    // file: a damaged or hostile file fails with a message saying what is wrong, never reads
    // outside the bytes.
    static Result<Catalogue> FromBytes(std::vector<char> bytes);
    // The same from a file of at most 64 MB; the error names the file.
    static Result<Catalogue> Read(const std::string& path);

    // The translation of the message `id` with `context` (nullptr or "": none); nullptr when the
    // catalogue has none or its translation is empty. NUL-terminated, valid while the catalogue
    // lives (moving the catalogue keeps it).
    const char* Find(const char* context, std::string_view id) const;
    // The form that `count` takes of a counted message, found by its singular id; nullptr as Find.
    const char* FindPlural(const char* context, std::string_view id, uint64_t count) const;

    // One message of the catalogue, for tests over a whole catalogue.
    struct Message {
        std::string_view context;             // empty: none
        std::string_view id;                  // the singular id of a counted message
        std::string_view plural;              // a counted message's plural id; empty otherwise
        std::vector<std::string_view> forms;  // the translation; one form unless counted
    };
    std::vector<Message> Messages() const;

    const PluralForms& plural_forms() const { return plural_forms_; }

  private:
    Catalogue() = default;

    struct Entry {
        std::string_view context;
        std::string_view id;
        std::string_view plural;
        std::string_view translation;  // all forms, NUL-separated
    };

    static bool Before(const Entry& entry, std::string_view context, std::string_view id);
    const Entry* Lookup(const char* context, std::string_view id) const;

    std::vector<char> bytes_;
    std::vector<Entry> entries_;  // sorted by (context, id)
    PluralForms plural_forms_;
};

}  // namespace pelimon
