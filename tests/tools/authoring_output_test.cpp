// How findings are printed: the JSON writer's escaping and punctuation, the
// text line of a finding, the JSON document of a report, and exit statuses.
#include "json_writer.h"

#include <gtest/gtest.h>

#include "report_format.h"

namespace zel::authoring {
namespace {

TEST(authoring_Json, StringsAreEscapedAndAlwaysValidUtf8) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain.jpg", "\"plain.jpg\""},
        {"say \"Done !!\"", "\"say \\\"Done !!\\\"\""},
        {"C:\\movies\\a.jpg", "\"C:\\\\movies\\\\a.jpg\""},
        {"tab\there\nnew\rline\b\f", "\"tab\\there\\nnew\\rline\\b\\f\""},
        {std::string("nul\0one\x01 esc\x1f", 13), "\"nul\\u0000one\\u0001 esc\\u001f\""},
        {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\""},
        {"latin1 \xE9!", "\"latin1 \\ufffd!\""},
        {"cut \xE2\x82", "\"cut \\ufffd\\ufffd\""},
        {"overlong \xC0\xAF", "\"overlong \\ufffd\\ufffd\""},
        {"surrogate \xED\xA0\x80", "\"surrogate \\ufffd\\ufffd\\ufffd\""},
        {"too high \xF4\x90\x80\x80", "\"too high \\ufffd\\ufffd\\ufffd\\ufffd\""},
        {"del \x7F", "\"del \x7F\""},
    };
    for (const auto& [text, json] : cases) EXPECT_EQ(JsonString(text), json) << text;
}

TEST(authoring_Json, WriterPlacesCommasAndColonsInNestedValues) {
    JsonWriter json;
    json.BeginObject();
    json.Key("a");
    json.BeginArray();
    json.Number(-1);
    json.BeginObject();
    json.EndObject();
    json.BeginArray();
    json.EndArray();
    json.Null();
    json.EndArray();
    json.Key("b");
    json.Bool(true);
    json.Key("c");
    json.Unsigned(18446744073709551615u);
    json.EndObject();
    EXPECT_EQ(json.Text(), "{\"a\":[-1,{},[],null],\"b\":true,\"c\":18446744073709551615}\n");
}

Report SampleReport() {
    Report report;
    report.description = "movie.zel";
    report.Add("picture-size", Severity::Error, Shell::Both, "movie.zel", 4, "view_r0_c03.jpg",
               "picture is 320 x 200, the description says 320 x 240");
    report.Add("description-extension", Severity::Warning, Shell::Plugin, "movie.zel", 0, "", "say \"why\"");
    return report;
}

TEST(authoring_Format, TextLinesNameFileLineSeverityAndToken) {
    const Report report = SampleReport();
    EXPECT_EQ(FormatFinding(report.findings[0]),
              "movie.zel:4: error: \"view_r0_c03.jpg\": picture is 320 x 200, the description says 320 x 240");
    EXPECT_EQ(FormatFinding(report.findings[1]), "movie.zel: warning: say \"why\"");
    EXPECT_EQ(FormatText(report), FormatFinding(report.findings[0]) + "\n" + FormatFinding(report.findings[1]) +
                                      "\nmovie.zel: 1 error, 1 warning\n");
}

TEST(authoring_Format, JsonHoldsTheSameFindingsWithNullsForWhatIsUnknown) {
    Report report = SampleReport();
    EXPECT_EQ(FormatJson(report),
              "{\"description\":\"movie.zel\",\"findings\":["
              "{\"kind\":\"picture-size\",\"severity\":\"error\",\"shell\":\"both\",\"file\":\"movie.zel\","
              "\"line\":4,\"token\":\"view_r0_c03.jpg\","
              "\"message\":\"picture is 320 x 200, the description says 320 x 240\"},"
              "{\"kind\":\"description-extension\",\"severity\":\"warning\",\"shell\":\"plug-in\","
              "\"file\":\"movie.zel\",\"line\":null,\"token\":null,\"message\":\"say \\\"why\\\"\"}],"
              "\"summary\":null,\"errors\":1,\"warnings\":1,\"exitStatus\":2}\n");
    report.summary = Summary{2, 1, 100, 3, 4, 5, 6};
    const std::string json = FormatJson(report);
    EXPECT_NE(json.find("\"summary\":{\"views\":2,\"reachableViews\":1,\"viewFileBytes\":100,\"controlRgbBytes\":3,"
                        "\"pluginPacked16Bytes\":4,\"pluginPacked24Bytes\":5,\"pluginPlaneBytes\":6}"),
              std::string::npos)
        << json;
}

TEST(authoring_Format, ExitStatusIsTheWorstSeverity) {
    Report report;
    EXPECT_EQ(report.ExitStatus(), kExitClean);
    report.Add("grayscale", Severity::Warning, Shell::Both, "m.zel", 2, "a.jpg", "grey");
    EXPECT_EQ(report.ExitStatus(), kExitWarnings);
    report.Add("missing-file", Severity::Error, Shell::Both, "m.zel", 3, "b.jpg", "gone");
    report.Add("grayscale", Severity::Warning, Shell::Both, "m.zel", 4, "c.jpg", "grey");
    EXPECT_EQ(report.ExitStatus(), kExitErrors);
    EXPECT_EQ(report.Count(Severity::Warning), 2);
}

}  // namespace
}  // namespace zel::authoring
