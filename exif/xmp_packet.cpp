#include "exif/xmp_packet.h"

#include <algorithm>
#include <vector>

#include "common/text.h"

namespace pelimon {
namespace {

struct ListedProperty {
    XmpGroup group;
    std::string_view uri;
    std::string_view local;  // a trailing '*' matches any rest
};

constexpr std::string_view kExifNs = "http://ns.adobe.com/exif/1.0/";
constexpr std::string_view kPhotoshopNs = "http://ns.adobe.com/photoshop/1.0/";
constexpr std::string_view kIptcCoreNs = "http://iptc.org/std/Iptc4xmpCore/1.0/xmlns/";
constexpr std::string_view kIptcExtNs = "http://iptc.org/std/Iptc4xmpExt/2008-02-29/";
constexpr std::string_view kDjiNs = "http://www.dji.com/drone-dji/1.0/";
constexpr std::string_view kHdrGainMapNs = "http://ns.adobe.com/hdr-gain-map/1.0/";
constexpr std::string_view kContainerNs = "http://ns.google.com/photos/1.0/container/";
constexpr std::string_view kAppleGainMapNs = "http://ns.apple.com/HDRGainMap/1.0/";

// The lists the header documents.
constexpr ListedProperty kListedProperties[] = {
    {kXmpLocation, kExifNs, "GPS*"},
    {kXmpLocation, kPhotoshopNs, "City"},
    {kXmpLocation, kPhotoshopNs, "State"},
    {kXmpLocation, kPhotoshopNs, "Country"},
    {kXmpLocation, kIptcCoreNs, "Location"},
    {kXmpLocation, kIptcCoreNs, "CountryCode"},
    {kXmpLocation, kIptcExtNs, "LocationCreated"},
    {kXmpLocation, kIptcExtNs, "LocationShown"},
    {kXmpLocation, kDjiNs, "GpsLatitude"},
    {kXmpLocation, kDjiNs, "GpsLongitude"},
    {kXmpLocation, kDjiNs, "GpsLongtitude"},  // sic: some drones write this spelling
    {kXmpLocation, kDjiNs, "AbsoluteAltitude"},
    {kXmpGainMap, kHdrGainMapNs, "*"},
    {kXmpGainMap, kContainerNs, "Directory"},
    {kXmpGainMap, kAppleGainMapNs, "*"},
};

constexpr std::string_view kXmlNs = "http://www.w3.org/XML/1998/namespace";

bool IsListed(unsigned groups, std::string_view uri, std::string_view local) {
    return std::any_of(std::begin(kListedProperties), std::end(kListedProperties), [&](const ListedProperty& property) {
        if ((property.group & groups) == 0 || property.uri != uri) {
            return false;
        }
        if (property.local.ends_with('*')) {
            return local.starts_with(property.local.substr(0, property.local.size() - 1));
        }
        return property.local == local;
    });
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsNameChar(char c) {
    return !IsSpace(c) && c != '/' && c != '>' && c != '<' && c != '=' && c != '"' && c != '\'';
}

struct Range {
    size_t begin;
    size_t end;
};

// A single pass over the packet that checks its structure and lists the properties of `groups`.
class XmpScanner {
  public:
    XmpScanner(std::string_view text, unsigned groups) : text_(text), groups_(groups) {}

    // False when the packet is malformed; `ranges` then means nothing.
    bool Run(std::vector<Range>& ranges) {
        size_t pos = 0;
        bool seen_element = false;
        while (true) {
            const size_t lt = text_.find('<', pos);
            if (lt == std::string_view::npos) {
                break;
            }
            std::optional<size_t> next;
            if (At(lt, "<?")) {
                next = Skip(lt, "?>");
            } else if (At(lt, "<!--")) {
                next = Skip(lt, "-->");
            } else if (At(lt, "<![CDATA[")) {
                next = Skip(lt, "]]>");
            } else if (At(lt, "<!")) {
                return false;  // no DTDs in XMP
            } else if (At(lt, "</")) {
                next = EndTag(lt, ranges);
            } else {
                next = StartTag(lt, pos, ranges);
                seen_element = true;
            }
            if (!next) {
                return false;
            }
            pos = *next;
        }
        return seen_element && open_.empty();
    }

  private:
    struct Open {
        std::string_view name;
        size_t begin;  // where a removal of this element starts
        bool remove;
        size_t scope_size;  // namespace declarations in force before this element
    };

    bool At(size_t pos, std::string_view what) const { return text_.substr(pos).starts_with(what); }

    std::optional<size_t> Skip(size_t pos, std::string_view end) const {
        const size_t found = text_.find(end, pos + 2);
        return found == std::string_view::npos ? std::nullopt : std::optional<size_t>(found + end.size());
    }

    std::string_view ReadName(size_t& pos) const {
        const size_t begin = pos;
        while (pos < text_.size() && IsNameChar(text_[pos])) {
            ++pos;
        }
        return text_.substr(begin, pos - begin);
    }

    void SkipSpace(size_t& pos) const {
        while (pos < text_.size() && IsSpace(text_[pos])) {
            ++pos;
        }
    }

    // The namespace URI of a prefix ("" is the default namespace); std::nullopt when undeclared.
    std::optional<std::string_view> Resolve(std::string_view prefix) const {
        for (auto it = scope_.rbegin(); it != scope_.rend(); ++it) {
            if (it->first == prefix) {
                return it->second;
            }
        }
        if (prefix == "xml") {
            return kXmlNs;
        }
        if (prefix.empty()) {
            return std::string_view();
        }
        return std::nullopt;
    }

    // Splits a qualified name; std::nullopt for an undeclared prefix. Unprefixed attributes
    // belong to no namespace.
    std::optional<std::pair<std::string_view, std::string_view>> Split(std::string_view name, bool element) const {
        const size_t colon = name.find(':');
        if (colon == std::string_view::npos) {
            if (!element) {
                return std::pair<std::string_view, std::string_view>{{}, name};
            }
            const std::optional<std::string_view> uri = Resolve("");
            return std::pair<std::string_view, std::string_view>{*uri, name};
        }
        const std::optional<std::string_view> uri = Resolve(name.substr(0, colon));
        if (!uri) {
            return std::nullopt;
        }
        return std::pair<std::string_view, std::string_view>{*uri, name.substr(colon + 1)};
    }

    bool InsideRemoval() const {
        return std::any_of(open_.begin(), open_.end(), [](const Open& open) { return open.remove; });
    }

    std::optional<size_t> StartTag(size_t lt, size_t previous_end, std::vector<Range>& ranges) {
        struct Attribute {
            std::string_view name;
            size_t begin;  // the white space before it
            size_t end;
        };
        size_t pos = lt + 1;
        const std::string_view name = ReadName(pos);
        if (name.empty()) {
            return std::nullopt;
        }
        std::vector<Attribute> attributes;
        const size_t scope_size = scope_.size();
        bool self_closing = false;
        while (true) {
            const size_t space = pos;
            SkipSpace(pos);
            if (pos >= text_.size()) {
                return std::nullopt;
            }
            if (text_[pos] == '/' || text_[pos] == '>') {
                self_closing = text_[pos] == '/';
                if (self_closing && (pos + 1 >= text_.size() || text_[pos + 1] != '>')) {
                    return std::nullopt;
                }
                pos += self_closing ? 2 : 1;
                break;
            }
            if (pos == space) {
                return std::nullopt;  // attributes are separated by white space
            }
            const std::string_view attribute = ReadName(pos);
            SkipSpace(pos);
            if (attribute.empty() || pos >= text_.size() || text_[pos] != '=') {
                return std::nullopt;
            }
            ++pos;
            SkipSpace(pos);
            if (pos >= text_.size() || (text_[pos] != '"' && text_[pos] != '\'')) {
                return std::nullopt;
            }
            const size_t close = text_.find(text_[pos], pos + 1);
            if (close == std::string_view::npos) {
                return std::nullopt;
            }
            const std::string_view value = text_.substr(pos + 1, close - pos - 1);
            if (attribute == "xmlns") {
                scope_.emplace_back(std::string_view(), value);
            } else if (attribute.starts_with("xmlns:")) {
                scope_.emplace_back(attribute.substr(6), value);
            } else {
                attributes.push_back({attribute, space, close + 1});
            }
            pos = close + 1;
        }

        const auto element = Split(name, true);
        if (!element) {
            return std::nullopt;
        }
        const bool inside = InsideRemoval();
        const bool remove = !inside && IsListed(groups_, element->first, element->second);
        size_t begin = lt;
        while (begin > previous_end && IsSpace(text_[begin - 1])) {
            --begin;
        }
        for (const Attribute& attribute : attributes) {
            const auto split = Split(attribute.name, false);
            if (!split) {
                return std::nullopt;
            }
            if (!inside && !remove && IsListed(groups_, split->first, split->second)) {
                ranges.push_back({attribute.begin, attribute.end});
            }
        }
        if (self_closing) {
            scope_.resize(scope_size);
            if (remove) {
                ranges.push_back({begin, pos});
            }
        } else {
            open_.push_back({name, begin, remove, scope_size});
        }
        return pos;
    }

    std::optional<size_t> EndTag(size_t lt, std::vector<Range>& ranges) {
        size_t pos = lt + 2;
        const std::string_view name = ReadName(pos);
        SkipSpace(pos);
        if (open_.empty() || name != open_.back().name || pos >= text_.size() || text_[pos] != '>') {
            return std::nullopt;
        }
        const Open closed = open_.back();
        open_.pop_back();
        scope_.resize(closed.scope_size);
        if (closed.remove) {
            ranges.push_back({closed.begin, pos + 1});
        }
        return pos + 1;
    }

    std::string_view text_;
    unsigned groups_;
    std::vector<Open> open_;
    std::vector<std::pair<std::string_view, std::string_view>> scope_;  // prefix, URI
};

std::optional<std::vector<Range>> Scan(std::string_view packet, unsigned groups) {
    if (!IsValidUtf8(packet)) {
        return std::nullopt;
    }
    std::vector<Range> ranges;
    if (!XmpScanner(packet, groups).Run(ranges)) {
        return std::nullopt;
    }
    std::sort(ranges.begin(), ranges.end(), [](const Range& a, const Range& b) { return a.begin < b.begin; });
    return ranges;
}

}  // namespace

bool IsWellFormedXmp(std::string_view packet) {
    return Scan(packet, 0).has_value();
}

bool XmpHasProperties(std::string_view packet, unsigned groups) {
    const std::optional<std::vector<Range>> ranges = Scan(packet, groups);
    return ranges && !ranges->empty();
}

std::optional<std::string> RemoveXmpProperties(std::string_view packet, unsigned groups) {
    const std::optional<std::vector<Range>> ranges = Scan(packet, groups);
    if (!ranges) {
        return std::nullopt;
    }
    std::string out;
    out.reserve(packet.size());
    size_t pos = 0;
    for (const Range& range : *ranges) {
        // Ranges never overlap: nothing is listed inside a removed element.
        out.append(packet.substr(pos, range.begin - pos));
        pos = range.end;
    }
    out.append(packet.substr(pos));
    return out;
}

}  // namespace pelimon
