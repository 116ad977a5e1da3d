// Values files over the pocketing panel (every attribute class): what the reader takes and what
// it reports, the texts written without a text field's padding, the booleans in both spellings.
#include "tools/KesValuesFile.h"
#include "KesPocketingPanel.h"
#include "robustness/KesScopedSettingsFolder.h"
#include "tools/KesPanelDriver.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

class KesValuesFileTest : public ::testing::Test {
protected:
    // The file of these entries, read into the panel.
    KesValuesFile::Result Read(const std::string& entries) {
        return KesValuesFile::Parse(R"({"format": "kes-values", "version": 1, "attributes": [)" +
                                        entries + "]}",
                                    "v.json", driver.Attributes());
    }
    // The line the panel's values file holds for `name` ("" when none).
    std::string Written(const std::string& name) {
        std::istringstream file(KesValuesFile::Write(driver.Attributes(), "Pocketing"));
        for (std::string line; std::getline(file, line);) {
            if (line.find("{\"name\": \"" + name + "\"") != std::string::npos) {
                line = line.substr(line.find('{'));
                return line.back() == ',' ? line.substr(0, line.size() - 1) : line;
            }
        }
        return "";
    }

    KesScopedSettingsFolder settings;
    KesDlgTestFrame frame{"Pocketing"};
    KesPocketingPanel panel{frame};
    std::ostringstream out;
    KesPanelDriver driver{frame, out, out};
};

// Each entry is taken, and written back as its line; or reported (a line a reader sees, an
// error with --strict); or refused as not a values file.
TEST_F(KesValuesFileTest, EntriesAreTakenReportedOrRefused) {
    struct Row {
        const char* entry;
        const char* answer; // the line written back, a report line, or the refusal
    };
    const Row rows[] = {
        // A bound parameter the model does not have was taken without a word.
        {R"({"name": "Feed_Rate", "type": "real", "parameter": "FEED_NONE"})",
         "report: v.json: attribute 'Feed_Rate', key 'parameter': no model parameter "
         "'FEED_NONE': the attribute keeps its value"},
        {R"({"name": "Feed_Rate", "type": "real", "parameter": "FEED_FINISH"})",
         R"({"name": "Feed_Rate", "type": "real", "parameter": "FEED_FINISH"})"},
        // Booleans as true and false, or as 0 and 1 (a panel file's spelling); written as
        // true and false.
        {R"({"name": "Coolant", "type": "boolean", "values": [0]})",
         R"({"name": "Coolant", "type": "boolean", "values": [false]})"},
        {R"({"name": "Coolant", "type": "boolean", "values": [true]})",
         R"({"name": "Coolant", "type": "boolean", "values": [true]})"},
        {R"({"name": "Pass_Switches", "type": "boolean", "values": [1, 0, false, true]})",
         R"({"name": "Pass_Switches", "type": "boolean", "values": [true, false, false, true]})"},
        {R"({"name": "Approach_Retract", "records": [{"name": "Overlap", "type": "boolean",
            "values": [1]}]})",
         R"({"name": "Approach_Retract", "records": [{"name": "Overlap", "type": "boolean", )"
         R"("values": [true]}]})"},
        {R"({"name": "Coolant", "type": "boolean", "values": [2]})",
         "refused: v.json: attribute 1 'Coolant', key 'values': 2 is not a boolean value (true, "
         "false, 1 or 0)"},
        // A text field's padding is not written; the text reads back to the same records.
        {R"({"name": "Comment", "type": "text", "values": ["Walls last"]})",
         R"({"name": "Comment", "type": "text", "values": ["Walls last"]})"},
        {R"({"name": "Comment", "type": "text", "values": ["  Walls last   "]})",
         "report: v.json: attribute 'Comment', key 'values': normalised to [\"Walls last\"] "
         "(clamped, or not among the choices)"},
    };
    for (const Row& row : rows) {
        const std::string name =
            std::string(row.entry).substr(10, std::string(row.entry).find('"', 10) - 10);
        const KesValuesFile::Result read = Read(row.entry);
        const std::string answer = !read.IsValuesFile()   ? "refused: " + read.error
                                   : !read.report.empty() ? "report: " + read.report.front()
                                                          : Written(name);
        EXPECT_EQ(answer, row.answer) << row.entry;
    }
}

// Written from a panel whose text field holds a short text and read into a fresh panel: the
// same records, and the same file written again.
TEST_F(KesValuesFileTest, ATextWrittenWithoutItsPaddingReadsBackToTheSameRecords) {
    std::istringstream session("type Comment Second pocket\n");
    ASSERT_EQ(driver.RunSession(session, false), 0) << out.str();
    const std::string file = KesValuesFile::Write(driver.Attributes(), "Pocketing");
    EXPECT_NE(file.find(R"("values": ["Second pocket"]})"), std::string::npos) << file;
    KesDlgTestFrame freshFrame("Pocketing");
    KesPocketingPanel fresh(freshFrame);
    KesPanelDriver freshDriver(freshFrame, out, out);
    const KesValuesFile::Result read =
        KesValuesFile::Parse(file, "v.json", freshDriver.Attributes());
    EXPECT_TRUE(read.IsValuesFile() && read.report.empty()) << read.error;
    for (size_t i = 0; i < driver.Attributes().size(); ++i) {
        EXPECT_TRUE(KesAttributeState::Read(*driver.Attributes()[i]) ==
                    KesAttributeState::Read(*freshDriver.Attributes()[i]))
            << driver.Attributes()[i]->GetRecordName().Str();
    }
    EXPECT_EQ(KesValuesFile::Write(freshDriver.Attributes(), "Pocketing"), file);
}

} // namespace
