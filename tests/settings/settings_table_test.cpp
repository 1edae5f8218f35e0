#include "settings/settings_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "common/text.h"
#include "settings/output_shaping.h"
#include "tests/settings/all_fields.h"

namespace pelimon {
namespace {

// A field without a row would start undefined and never reach the settings file; two rows of
// one field, key or parameter key would make the files disagree about it.
TEST(SettingsTable, EveryPersistedFieldHasOneRowAndEveryKeyOneSetting) {
    const std::span<const SettingRow> rows = SettingsTable();
    constexpr size_t kNotPersisted = 2;  // ModulePath and ProfilePath
    EXPECT_EQ(rows.size() + kNotPersisted, std::tuple_size_v<decltype(test::AllFields(AppSettings{}))>);
    std::set<std::pair<std::string, std::string>> keys;
    std::set<std::string> parameter_keys;
    for (size_t i = 0; i < rows.size(); ++i) {
        const SettingRow& row = rows[i];
        SCOPED_TRACE(row.key);
        for (size_t j = 0; j < i; ++j) {
            EXPECT_NE(rows[j].field, row.field);
        }
        EXPECT_TRUE(keys.emplace(ToUpperAscii(row.section), ToUpperAscii(row.key)).second);
        if (!row.parameter_key.empty()) {
            EXPECT_TRUE(parameter_keys.insert(ToUpperAscii(row.parameter_key)).second);
        }
        if (row.kind == SettingKind::kNumber) {
            EXPECT_LE(row.min, row.default_number);
            EXPECT_LE(row.default_number, row.max);
        }
    }
}

// An up-to-date output is recognised by this hash: a setting that changes outputs must change it,
// and one that only says which files a run takes or where it writes must not.
TEST(SettingsTable, OutputHashChangesWithEverySettingThatShapesOutputs) {
    const AppSettings base;
    const uint64_t base_hash = OutputSettingsHash(base);
    for (const SettingRow& row : SettingsTable()) {
        SCOPED_TRACE(row.key);
        AppSettings changed = base;
        row.SetFromText(changed,
                        row.IsNumber() ? std::to_string(LeadingInt(row.Text(base)) + 1) : row.Text(base) + "x");
        EXPECT_EQ(OutputSettingsHash(changed) != base_hash, row.shapes_output);
    }
}

}  // namespace
}  // namespace pelimon
