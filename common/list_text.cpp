#include "common/list_text.h"

#include "common/message.h"

namespace pelimon {
namespace {

std::string Joined(std::span<const std::string_view> names, std::string_view separator, std::string_view last) {
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) {
            text += i + 1 == names.size() ? last : separator;
        }
        text += names[i];
    }
    return text;
}

}  // namespace

std::string ListText(std::span<const std::string_view> names) {
    const std::string_view separator = Message(", ", "between the names of a list");
    return Joined(names, separator, separator);
}

std::string ProseListText(std::span<const std::string_view> names) {
    return Joined(names, Message(", ", "between the names of a list"),
                  Message(" and ", "before the last name of a list"));
}

}  // namespace pelimon
