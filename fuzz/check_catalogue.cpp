// Fuzz check: the message catalogue reader. The input is read as a compiled catalogue; every
// message it holds must then be found again, each of its forms inside the input's bytes, and the
// plural rule must give a form below its count for any number. The input is also taken as a
// catalogue header (its plural rule) and, split in two, as a format and its translation.
#include <cstring>
#include <string_view>
#include <vector>

#include "common/catalogue.h"
#include "common/plural_forms.h"
#include "common/printf_format.h"
#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_support.h"

namespace pelimon::fuzz {

void CheckCatalogueInput(std::span<const uint8_t> bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (const std::optional<PluralForms> forms = PluralForms::FromHeader(text)) {
        for (const uint64_t n : {0ULL, 1ULL, 2ULL, 11ULL, 101ULL, 1000000ULL}) {
            Expect(forms->FormOf(n) < forms->count(), "a plural rule gives one of its forms");
        }
    }
    const size_t half = text.size() / 2;
    (void)TranslationFitsFormat(text.substr(0, half), text.substr(half));

    Result<Catalogue> read = Catalogue::FromBytes(std::vector<char>(text.begin(), text.end()));
    if (!read) {
        Expect(!read.error().message.empty(), "a refused catalogue says why");
        return;
    }
    const Catalogue& catalogue = read.value();
    for (const Catalogue::Message& message : catalogue.Messages()) {
        const std::string context(message.context);
        const char* wanted_context = context.empty() ? nullptr : context.c_str();
        const char* found = message.plural.empty() ? catalogue.Find(wanted_context, message.id)
                                                   : catalogue.FindPlural(wanted_context, message.id, 1);
        if (found != nullptr) {
            Expect(std::strlen(found) < bytes.size(), "a translation lies inside the catalogue");
        }
        for (const uint64_t n : {0ULL, 1ULL, 2ULL, 5ULL, 21ULL}) {
            if (const char* form = catalogue.FindPlural(wanted_context, message.id, n)) {
                Expect(std::strlen(form) < bytes.size(), "a plural form lies inside the catalogue");
            }
        }
    }
}

}  // namespace pelimon::fuzz
