#include "serwedge/util/ReadRemoteUpdate.h"
#include "serwedge/util/UpdateCheckStart.h"

#include <gtest/gtest.h>

using serwedge::util::ReadRemoteUpdate;
using serwedge::util::UpdateCheckError;

namespace {

struct VersionCase {
    const char* current;
    const char* candidate;
    bool newer;
};

class CompareVersions : public ::testing::TestWithParam<VersionCase> {};

} // namespace

TEST_P(CompareVersions, answersWhetherTheCandidateIsNewer) {
    const VersionCase& c = GetParam();
    EXPECT_EQ(ReadRemoteUpdate::compareVersions(c.current, c.candidate), c.newer)
        << c.current << " vs " << c.candidate;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CompareVersions,
    ::testing::Values(
        // components compare as integers, not as text
        VersionCase{"2018.1.0.3", "2018.1.0.10", true},
        VersionCase{"2018.1.0.10", "2018.1.0.3", false},
        VersionCase{"2018.1.0.3", "2018.1.0.3", false},
        VersionCase{"2018.1.0.3", "2018.2.0.0", true},
        VersionCase{"2018.2.0.0", "2018.1.9.9", false},
        VersionCase{"2018.1.0.3", "2019.0.0.0", true},
        VersionCase{"2018.1.0.3", "2018.1.1.0", true},
        VersionCase{"2018.1.0.3", "2018.01.0.4", true},
        VersionCase{"2018.1.0.3", "2018.1.0.0003", false},
        // the fourth comparison takes the whole rest; a missing rest counts as 0
        VersionCase{"2018.1.0", "2018.1.0.1", true}, VersionCase{"2018.1.0.3", "2018.1.0", false},
        VersionCase{"2018.1.0.3", "2018.1.1", true},
        // long components do not overflow
        VersionCase{"2018.1.0.3", "2018.1.0.99999999999999999999999", true},
        // at most one dot in the candidate: decimal numbers
        VersionCase{"2018", "2019", true}, VersionCase{"2019", "2018", false},
        VersionCase{"2018.5", "2018.10", false}, VersionCase{"2018.1", "2019.1", true},
        VersionCase{"2018.10", "2018.9", true}, VersionCase{"2018", "2018.0", false},
        // a current version with at most one dot is older than any longer candidate
        VersionCase{"2018", "2017.1.0.0", true}, VersionCase{"2018.9", "2018.1.0.1", true},
        // absent or equal texts are never newer
        VersionCase{"2018.1.0.3", "", false}, VersionCase{"", "2018.1.0.3", false},
        VersionCase{"x", "x", false},
        // surrounding blanks from the document do not matter
        VersionCase{"2018.1.0.3", " 2018.1.0.10\n", true}));

TEST(CompareVersionsErrors, textsThatAreNotVersionNumbersFailTheCheck) {
    const std::pair<const char*, const char*> bad[] = {
        {"2018.1.0.3", "2018.x.0.1"}, // component not a number
        {"2018.1.0.3", "2018..0.1"},  // empty component
        {"2018.1.0.3", "2018.1.0.3.1"},
        {"2018.1.0.3", "2019"},   // one dot or less: both are read as decimals
        {"2018.1.0.3", "2019.1"}, // the current version cannot be
        {"2018.1.0.3", "v2019"},
        {"2018.1.0.3", "-1.0.0.0"},
        {"2018", "2018.1.a.0"}, // the candidate is checked even when the current decides
        {"abc", "1.5"},
    };
    for (const auto& [current, candidate] : bad) {
        EXPECT_THROW(ReadRemoteUpdate::compareVersions(current, candidate), UpdateCheckError)
            << current << " vs " << candidate;
    }
}

TEST(FindXml, takesTheTextBetweenTheFirstMarksOfTheLanguage) {
    struct Case {
        const char* content;
        const char* tag;
        const char* language;
        const char* found;
    };
    const Case cases[] = {
        {"<version2_en>2018.1.0.10</version2_en>", "version2", "en", "2018.1.0.10"},
        {"<version2>7</version2><version2_en>8</version2_en>", "version2", "", "7"},
        {"<version2>7</version2><version2_en>8</version2_en>", "version2", "en", "8"},
        {"<version2_de>9</version2_de>", "version2", "en", ""},
        {"<version2_en>1</version2_en><version2_en>2</version2_en>", "version2", "en", "1"},
        // closing mark before the opening mark: the first closing mark counts
        {"</version2_en><version2_en>5</version2_en>", "version2", "en", ""},
        {"<version2_en>unterminated", "version2", "en", ""},
        {"<version2_en></version2_en>", "version2", "en", ""},
        {"<version2_en> a <b> </version2_en>", "version2", "en", " a <b> "},
        {"", "version2", "en", ""},
        {"<date_en>2019-03-01</date_en>", "date", "en", "2019-03-01"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadRemoteUpdate::findXML(c.content, c.tag, c.language), QString(c.found))
            << c.content << " / " << c.tag << "_" << c.language;
    }
}

TEST(ReadRemoteUpdateParse, readsVersionAndDateOfTheLanguage) {
    const auto r = ReadRemoteUpdate::fromContent(
        "<?xml version=\"1.0\"?><update><version2_en>2018.1.0.10</version2_en>"
        "<date_en>2018-11-30</date_en><version2_de>1.0.0.0</version2_de></update>",
        "2018.1.0.3", "EN");
    EXPECT_EQ(r.getRemoteVersion(), "2018.1.0.10");
    ASSERT_TRUE(r.getRemoteReleaseDate().has_value());
    EXPECT_EQ(*r.getRemoteReleaseDate(), QDate(2018, 11, 30));
    EXPECT_TRUE(r.newerVersionAvailable());
}

TEST(ReadRemoteUpdateParse, missingVersionElementMeansNoUpdate) {
    const auto r = ReadRemoteUpdate::fromContent("<update><date_en>20180208</date_en></update>",
                                                 "2018.1.0.3", "en");
    EXPECT_EQ(r.getRemoteVersion(), "");
    EXPECT_EQ(r.getRemoteReleaseDate(), QDate(2018, 2, 8));
    EXPECT_FALSE(r.newerVersionAvailable());
}

TEST(ReadRemoteUpdateParse, unreadableDateFailsTheCheck) {
    EXPECT_THROW(ReadRemoteUpdate::fromContent("<version2_en>2019.1.0.0</version2_en>"
                                               "<date_en>yesterday</date_en>",
                                               "2018.1.0.3", "en"),
                 UpdateCheckError);
}

TEST(ReadRemoteUpdateFetch, onlyHttpsAddressesAreFetched) {
    for (const char* address : {"http://example.invalid/version.xml", "file:///etc/passwd",
                                "version.xml", "https:///version.xml", ""}) {
        try {
            ReadRemoteUpdate(address, "2018.1.0.3", "en");
            ADD_FAILURE() << address << " was fetched";
        } catch (const UpdateCheckError& e) {
            EXPECT_NE(std::string(e.what()).find("Not an HTTPS address"), std::string::npos)
                << e.what();
        }
    }
}

TEST(UpdateAddressForThisStart, followsTheSettingTheExplicitAddressAndTheDraw) {
    int draws = 0;
    auto drawing = [&draws](int value) {
        return [&draws, value] {
            ++draws;
            return value;
        };
    };
    using serwedge::util::updateAddressForThisStart;
    EXPECT_EQ(updateAddressForThisStart(true, "", "updates.example.org", drawing(0)),
              QString("https://updates.example.org/version.xml"));
    for (int miss : {1, 2, 3})
        EXPECT_FALSE(updateAddressForThisStart(true, "", "updates.example.org", drawing(miss)));
    EXPECT_FALSE(updateAddressForThisStart(false, "", "updates.example.org", drawing(0)));
    // No compiled host: no check at all.
    EXPECT_FALSE(updateAddressForThisStart(true, "", "", drawing(0)));
    // An explicit address is checked on every start, without a draw.
    draws = 0;
    EXPECT_EQ(updateAddressForThisStart(true, "https://127.0.0.1:8443/v.xml", "", drawing(3)),
              QString("https://127.0.0.1:8443/v.xml"));
    EXPECT_EQ(draws, 0);
    EXPECT_FALSE(updateAddressForThisStart(false, "https://127.0.0.1:8443/v.xml", "", drawing(0)));
}
