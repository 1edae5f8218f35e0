#include "common/message.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "common/language.h"
#include "common/printf_format.h"

namespace pelimon {

const char* Message::c_str() const {
    const Catalogue* catalogue = CurrentCatalogue();
    const char* translation = catalogue != nullptr ? catalogue->Find(context_, id_) : nullptr;
    return translation != nullptr ? translation : id_;
}

const char* PluralMessage::For(uint64_t count) const {
    const Catalogue* catalogue = CurrentCatalogue();
    const char* translation = catalogue != nullptr ? catalogue->FindPlural(context_, singular_, count) : nullptr;
    return translation != nullptr ? translation : English(count);
}

namespace format_detail {

const char* Choose(const char* original, const char* translated) {
    if (translated == original || std::strcmp(translated, original) == 0) {
        return original;
    }
    return TranslationFitsFormat(original, translated) ? translated : original;
}

std::string Print(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<size_t>(length));
        std::vsnprintf(text.data(), text.size() + 1, format, args);
    }
    va_end(args);
    return text;
}

}  // namespace format_detail
}  // namespace pelimon
