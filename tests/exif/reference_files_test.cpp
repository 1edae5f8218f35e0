// The reader against the independent reference dumps of the camera files: every file,
// every entry.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "common/text.h"
#include "exif/exif_reader.h"
#include "exif/shot_date.h"
#include "exif/source_metadata.h"
#include "exif/tiff_block.h"
#include "exif_test_files.h"

namespace pelimon {
namespace {

namespace fs = std::filesystem;

struct DumpEntry {
    std::string ifd;
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    std::string value;
};

struct Dump {
    std::map<std::string, std::string> header;
    std::vector<DumpEntry> entries;

    std::string Field(const std::string& key) const {
        const auto it = header.find(key);
        return it == header.end() ? std::string() : it->second;
    }
    uint32_t Number(const std::string& key) const { return static_cast<uint32_t>(std::stoul(Field(key))); }
};

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, '\t')) {
        fields.push_back(field);
    }
    return fields;
}

Dump ReadDump(const fs::path& path) {
    Dump dump;
    const test::Bytes bytes = test::ReadFileBytes(path);
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    std::string line;
    while (std::getline(in, line)) {
        const std::vector<std::string> fields = SplitTabs(line);
        if (!fields.empty() && fields[0] == "#") {
            for (size_t i = 1; i < fields.size(); ++i) {
                const size_t eq = fields[i].find('=');
                dump.header[fields[i].substr(0, eq)] = fields[i].substr(eq + 1);
            }
        } else if (fields.size() >= 5) {
            dump.entries.push_back({fields[0], static_cast<uint16_t>(std::stoul(fields[1], nullptr, 16)),
                                    static_cast<uint16_t>(std::stoul(fields[2])),
                                    static_cast<uint32_t>(std::stoul(fields[3])), fields[4]});
        }
    }
    return dump;
}

std::vector<fs::path> CorpusFiles() {
    std::vector<fs::path> files;
    if (!fs::is_directory(test::CorpusDir())) {
        ADD_FAILURE() << "missing test folder " << test::CorpusDir().string();
        return files;
    }
    for (const auto& item : fs::directory_iterator(test::CorpusDir())) {
        if (item.path().extension() == ".jpg") {
            files.push_back(item.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + to.size())) {
        text.replace(pos, from.size(), to);
    }
    return text;
}

std::string FirstWord(const std::string& text) {
    return text.substr(0, text.find(' '));
}

// Text of "hex:3032..." up to its first zero byte.
std::string HexText(const std::string& value) {
    std::string text;
    for (size_t i = 4; i + 1 < value.size() && value.compare(i, 3, "...") != 0; i += 2) {
        const auto byte = static_cast<char>(std::stoi(value.substr(i, 2), nullptr, 16));
        if (byte == 0) {
            break;
        }
        text += byte;
    }
    return text;
}

// The value text the reader must show for a dump entry, for the tags whose text follows from
// the dump's raw value; std::nullopt for the rest (their tag, type and count are still checked).
std::optional<std::string> ExpectedText(const DumpEntry& e) {
    const bool plain_text = e.value.find("\\x") == std::string::npos;
    const std::string text = Replace(e.value, "\\\\", "\\");
    switch (e.tag) {
        case 0x010E:
        case 0x010F:
        case 0x0110:
        case 0x0131:
        case 0x8298:
        case 0x0001:
            return (e.type == 2 && plain_text) ? std::optional(text) : std::nullopt;
        case 0x0132:
        case 0x9003:
        case 0x9004: {
            if (e.type != 2 || !plain_text) {
                return std::nullopt;
            }
            std::string date = text;
            for (int n = 0, pos = 0; n < 2; ++n) {
                const size_t colon = date.find(':', static_cast<size_t>(pos));
                if (colon == std::string::npos) {
                    break;
                }
                date[colon] = '/';
                pos = static_cast<int>(colon) + 1;
            }
            return date;
        }
        case 0x9000:
        case 0xA000:
        case 0x0002:
            return e.type == 7 ? std::optional(HexText(e.value)) : std::nullopt;
        case 0xA002:
        case 0xA003:
        case 0x0100:
        case 0x0101:
            return FirstWord(e.value) + " (pixel)";
        case 0x8827:
            return e.type == 3 ? std::optional(FirstWord(e.value)) : std::nullopt;
        case 0x829A:
            return FirstWord(e.value) + " (秒)";
        case 0x011A:
        case 0x011B:
            return FirstWord(e.value);
        case 0x8769:
        case 0xA005:
            return e.value + " バイト";
        case 0x0112: {
            static const char* const kCorners[] = {"不明", "左上", "右上", "右下", "左下",
                                                   "左上", "右上", "右下", "左下"};
            const int value = std::stoi(e.value);
            return (value >= 1 && value <= 8) ? kCorners[value] : "不明";
        }
        default:
            return std::nullopt;
    }
}

void CompareIfd(const std::string& ifd, const std::vector<ExifEntry>& got, const Dump& dump) {
    std::vector<DumpEntry> want;
    for (const DumpEntry& e : dump.entries) {
        if (e.ifd == ifd) {
            want.push_back(e);
        }
    }
    ASSERT_EQ(got.size(), want.size()) << ifd;
    for (size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE(ifd + " entry " + std::to_string(i) + " tag " + std::to_string(want[i].tag));
        EXPECT_EQ(got[i].tag, want[i].tag);
        EXPECT_EQ(got[i].type, want[i].type);
        EXPECT_EQ(got[i].count, want[i].count);
        EXPECT_FALSE(got[i].name.empty());
        if (const std::optional<std::string> text = ExpectedText(want[i])) {
            EXPECT_EQ(got[i].value, *text);
        }
    }
}

TEST(ReferenceFiles, EveryEntryOfEveryFileMatchesItsDump) {
    const std::vector<fs::path> files = CorpusFiles();
    ASSERT_GE(files.size(), 33u);
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        fs::path dump_path = file;
        dump_path.replace_extension(".tags.tsv");
        const Dump dump = ReadDump(dump_path);

        CExifReader reader;
        reader.LoadTagTable();
        reader.SetFileName(file.string());
        // A PNG is read for Exif as a WebP or HEIF is: without any, it has no Exif (1) rather than
        // being no JPEG (0).
        const bool png = file.filename() == "notjpeg-png-renamed.jpg";
        const int expected_check = dump.Field("jpeg") != "1" ? (png ? 1 : 0) : (dump.Field("exif") == "1" ? 3 : 1);
        ASSERT_EQ(reader.CheckJpeg(), expected_check);
        if (expected_check != 3) {
            continue;
        }
        EXPECT_EQ(reader.m_nTiffBase, static_cast<int32_t>(dump.Number("tiff_offset")));
        EXPECT_EQ(reader.m_nApp1Length, dump.Number("app1_length"));
        EXPECT_EQ(reader.m_bLittleEndian, dump.Field("byte_order") == "II");

        EXPECT_EQ(reader.ReadMainIFD(), 1);
        // The offsets as the block's own parser finds them; the entries read at them are the reader's.
        const TiffBlock tiff({reader.ExifSegment().begin() + 10, reader.ExifSegment().end()});
        EXPECT_EQ(tiff.Ifd0Offset(), dump.Number("ifd0"));
        EXPECT_EQ(reader.ThumbnailIFDOffset(), dump.Number("ifd1"));
        CompareIfd("main", reader.MainEntries(), dump);
        EXPECT_EQ(reader.m_bSubIFD, dump.Number("sub") != 0);
        if (reader.m_bSubIFD) {
            EXPECT_EQ(tiff.SubIfdOffset(), dump.Number("sub"));
            EXPECT_EQ(reader.ReadSubIFD(), 1);
        }
        CompareIfd("sub", reader.SubEntries(), dump);
        EXPECT_EQ(reader.m_bInterop, dump.Number("interop") != 0);
        if (reader.m_bInterop) {
            EXPECT_EQ(reader.ReadInteropIFD(), 1);
        }
        CompareIfd("interop", reader.InteropEntries(), dump);
        if (reader.ThumbnailIFDOffset() != 0) {
            EXPECT_EQ(reader.ReadThumbnailIFD(), 1);
        }
        CompareIfd("thumb", reader.ThumbnailEntries(), dump);
    }
}

TEST(ReferenceFiles, SourceMetadataMatchesTheDumps) {
    const std::time_t now = 1700000000;  // a fixed "current time" for the replaced dates
    for (const fs::path& file : CorpusFiles()) {
        SCOPED_TRACE(file.filename().string());
        fs::path dump_path = file;
        dump_path.replace_extension(".tags.tsv");
        const Dump dump = ReadDump(dump_path);
        const test::Bytes bytes = test::ReadFileBytes(file);
        const SourceMetadata metadata = ReadSourceMetadata(bytes, now);
        if (dump.Field("exif") != "1") {
            EXPECT_EQ(metadata.ExifLength, 0);
            EXPECT_EQ(metadata.ShotDate, "0");
            EXPECT_TRUE(metadata.exif_segment.empty());
            continue;
        }
        EXPECT_EQ(metadata.ExifLength, dump.Number("app1_length"));
        const size_t segment_start = dump.Number("tiff_offset") - 10;
        ASSERT_EQ(metadata.exif_segment.size(), dump.Number("app1_length") + 2u);
        EXPECT_TRUE(std::equal(metadata.exif_segment.begin(), metadata.exif_segment.end(),
                               bytes.begin() + static_cast<long>(segment_start)));

        const std::string date = dump.Field("date_time_original");
        if (date == "-") {
            EXPECT_EQ(metadata.ShotDate, "0");
        } else if (LeadingInt(date.substr(0, 4)) == 0) {
            EXPECT_EQ(ShotDateToTime(metadata.ShotDate), now);
        } else {
            std::string shown = date;  // "YYYY:MM:DD HH:MM:SS" is shown "YYYY/MM/DD HH:MM:SS"
            shown[4] = shown[7] = '/';
            EXPECT_EQ(metadata.ShotDate, shown);
        }

        int orientation = 1;
        for (const DumpEntry& e : dump.entries) {
            if (e.ifd == "main" && e.tag == 0x0112) {
                orientation = std::stoi(e.value);
            }
        }
        EXPECT_EQ(metadata.Orientation, orientation);
    }
}

}  // namespace
}  // namespace pelimon
