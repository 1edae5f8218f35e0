#include "common/catalogue.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace pelimon {
namespace {

constexpr uint32_t kMagic = 0x950412de;
constexpr uint32_t kMagicSwapped = 0xde120495;
constexpr size_t kHeaderSize = 28;
constexpr std::streamoff kMaxFileSize = 64 << 20;

class Words {
  public:
    Words(const std::vector<char>& bytes, bool swapped) : bytes_(bytes), swapped_(swapped) {}
    // The 32-bit word at `offset`; the caller has checked that it lies inside the bytes.
    uint32_t At(uint64_t offset) const {
        uint32_t word;
        std::memcpy(&word, bytes_.data() + offset, sizeof word);
        return swapped_ ? __builtin_bswap32(word) : word;
    }

  private:
    const std::vector<char>& bytes_;
    bool swapped_;
};

Error Malformed(const std::string& what) {
    return Error{"not a valid message catalogue: " + what, {}};
}

}  // namespace

Result<Catalogue> Catalogue::FromBytes(std::vector<char> bytes) {
    if (bytes.size() < kHeaderSize) {
        return Malformed("too short");
    }
    uint32_t magic;
    std::memcpy(&magic, bytes.data(), sizeof magic);
    if (magic != kMagic && magic != kMagicSwapped) {
        return Malformed("no catalogue signature");
    }
    const Words words(bytes, magic == kMagicSwapped);
    if (words.At(4) >> 16 > 1) {
        return Malformed("unknown format revision");
    }
    const uint64_t count = words.At(8);
    const uint64_t originals = words.At(12);
    const uint64_t translations = words.At(16);
    const uint64_t size = bytes.size();
    if (originals + count * 8 > size || translations + count * 8 > size) {
        return Malformed("string tables outside the file");
    }
    // The string that the (length, offset) pair at `pair` describes; it must end in a NUL.
    const auto string_at = [&](uint64_t pair) -> std::optional<std::string_view> {
        const uint64_t length = words.At(pair);
        const uint64_t offset = words.At(pair + 4);
        if (offset + length >= size || bytes[offset + length] != '\0') {
            return std::nullopt;
        }
        return std::string_view(bytes.data() + offset, length);
    };

    Catalogue catalogue;
    std::optional<std::string_view> header;
    catalogue.entries_.reserve(count);
    for (uint64_t i = 0; i < count; ++i) {
        const std::optional<std::string_view> original = string_at(originals + i * 8);
        const std::optional<std::string_view> translation = string_at(translations + i * 8);
        if (!original || !translation) {
            return Malformed("a string lies outside the file");
        }
        Entry entry;
        entry.id = *original;
        if (const size_t separator = entry.id.find('\4'); separator != std::string_view::npos) {
            entry.context = entry.id.substr(0, separator);
            entry.id.remove_prefix(separator + 1);
        }
        if (const size_t separator = entry.id.find('\0'); separator != std::string_view::npos) {
            entry.plural = entry.id.substr(separator + 1);
            entry.id = entry.id.substr(0, separator);
        }
        entry.translation = *translation;
        if (entry.id.empty() && entry.context.empty()) {
            header = entry.translation;
            continue;
        }
        catalogue.entries_.push_back(entry);
    }
    if (header) {
        std::optional<PluralForms> forms = PluralForms::FromHeader(*header);
        if (!forms) {
            return Malformed("its Plural-Forms line does not parse");
        }
        catalogue.plural_forms_ = *forms;
    }
    std::stable_sort(catalogue.entries_.begin(), catalogue.entries_.end(), [](const Entry& a, const Entry& b) {
        return a.context != b.context ? a.context < b.context : a.id < b.id;
    });
    // The views point into the vector's buffer, which the move keeps.
    catalogue.bytes_ = std::move(bytes);
    return catalogue;
}

Result<Catalogue> Catalogue::Read(const std::string& path) {
    const auto failure = [&path](const std::string& why) {
        return Error{"cannot read the message catalogue " + path + ": " + why, path};
    };
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        return failure(std::strerror(errno));
    }
    const std::streamoff length = file.tellg();
    if (length < 0 || length > kMaxFileSize) {
        return failure("not a file of a catalogue's size");
    }
    std::vector<char> bytes(static_cast<size_t>(length));
    file.seekg(0);
    if (!file.read(bytes.data(), length)) {
        return failure("read error");
    }
    Result<Catalogue> catalogue = FromBytes(std::move(bytes));
    if (!catalogue) {
        return failure(catalogue.error().message);
    }
    return catalogue;
}

bool Catalogue::Before(const Entry& entry, std::string_view context, std::string_view id) {
    return entry.context != context ? entry.context < context : entry.id < id;
}

const Catalogue::Entry* Catalogue::Lookup(const char* context, std::string_view id) const {
    const std::string_view wanted_context = context != nullptr ? context : "";
    const auto found =
        std::lower_bound(entries_.begin(), entries_.end(), id,
                         [&](const Entry& entry, std::string_view key) { return Before(entry, wanted_context, key); });
    if (found == entries_.end() || found->context != wanted_context || found->id != id) {
        return nullptr;
    }
    return &*found;
}

const char* Catalogue::Find(const char* context, std::string_view id) const {
    const Entry* entry = Lookup(context, id);
    return entry != nullptr && !entry->translation.empty() ? entry->translation.data() : nullptr;
}

const char* Catalogue::FindPlural(const char* context, std::string_view id, uint64_t count) const {
    const Entry* entry = Lookup(context, id);
    if (entry == nullptr || entry->plural.empty()) {
        return nullptr;
    }
    std::string_view forms = entry->translation;
    for (size_t form = plural_forms_.FormOf(count); form > 0; --form) {
        const size_t separator = forms.find('\0');
        if (separator == std::string_view::npos) {
            return nullptr;
        }
        forms.remove_prefix(separator + 1);
    }
    // Each form ends at the next NUL; the last at the one that ends the translation.
    return forms.empty() || forms.front() == '\0' ? nullptr : forms.data();
}

std::vector<Catalogue::Message> Catalogue::Messages() const {
    std::vector<Message> messages;
    messages.reserve(entries_.size());
    for (const Entry& entry : entries_) {
        Message message{entry.context, entry.id, entry.plural, {}};
        std::string_view rest = entry.translation;
        for (size_t separator; (separator = rest.find('\0')) != std::string_view::npos;) {
            message.forms.push_back(rest.substr(0, separator));
            rest.remove_prefix(separator + 1);
        }
        message.forms.push_back(rest);
        messages.push_back(std::move(message));
    }
    return messages;
}

}  // namespace pelimon
