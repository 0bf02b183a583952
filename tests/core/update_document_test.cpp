// SPDX-License-Identifier: GPL-3.0-or-later
#include "online/update_document.h"

#include "online/fixed_addresses.h"

#include <gtest/gtest.h>

#include <random>

namespace wheelwatcher {

namespace {

struct ReadCase {
  const char* name;
  const char* document;
  UpdateRequest expected;
};

UpdateRequest Fields(std::string name, std::string version, std::string download,
                     std::string info = "") {
  UpdateRequest request;
  request.programName = std::move(name);
  request.programVersion = std::move(version);
  request.downloadAddress = std::move(download);
  request.infoAddress = std::move(info);
  return request;
}

TEST(ReadUpdateDocumentTest, ReadsTheFourTagsAsTheirRawValues) {
  const ReadCase cases[] = {
      {"minimal",
       "<Program_Name>W</Program_Name><Program_Version>5.0.0.5</Program_Version>"
       "<Primary_Download_URL>http://a/b</Primary_Download_URL>"
       "<Application_Info_URL>http://a/i</Application_Info_URL>",
       Fields("W", "5.0.0.5", "http://a/b", "http://a/i")},
      {"root element, declaration and line breaks",
       "<?xml version=\"1.0\"?>\r\n<Update>\r\n  <Program_Name>Wheelwatcher</Program_Name>\r\n"
       "  <Program_Version>5.0.0.5</Program_Version>\n</Update>\n",
       Fields("Wheelwatcher", "5.0.0.5", "")},
      {"spaces and line breaks inside a value are kept",
       "<Program_Name>  Wheel watcher \n</Program_Name>", Fields("  Wheel watcher \n", "", "")},
      {"entities are not unescaped", "<Program_Name>A &amp; B</Program_Name>",
       Fields("A &amp; B", "", "")},
      {"a later value replaces an earlier one",
       "<Program_Version>1</Program_Version><Program_Version>2</Program_Version>",
       Fields("", "2", "")},
      {"tag names are case-sensitive", "<program_name>W</program_name>", Fields("", "", "")},
      {"attributes keep a tag from matching", "<Program_Name lang=\"en\">W</Program_Name>",
       Fields("", "", "")},
      {"a self-closing tag does not match", "<Program_Name/>W<x>", Fields("", "", "")},
      {"closing tags never match", "</Program_Name>W<x>", Fields("", "", "")},
      {"text after the last < is never stored", "<Program_Name>W", Fields("", "", "")},
      {"value ends at the next <, even without its closing tag",
       "<Program_Name>W<Program_Version>7<", Fields("W", "7", "")},
      {"a stray > empties the value", "<Program_Name>ab>cd</Program_Name>", Fields("cd", "", "")},
      {"an unclosed < starts a new tag name", "<Program<_Name>W</x>", Fields("", "", "")},
      {"empty document", "", Fields("", "", "")},
      {"no tags at all", "Program_Name Wheelwatcher", Fields("", "", "")},
  };
  for (const ReadCase& c : cases) {
    UpdateRequest request;
    ReadUpdateDocument(c.document, request);
    EXPECT_EQ(request.programName, c.expected.programName) << c.name;
    EXPECT_EQ(request.programVersion, c.expected.programVersion) << c.name;
    EXPECT_EQ(request.downloadAddress, c.expected.downloadAddress) << c.name;
    EXPECT_EQ(request.infoAddress, c.expected.infoAddress) << c.name;
  }
}

// A seeded random search (run under the sanitizers in CI): whatever the input, a stored value holds
// no angle bracket and ran up to a "<", and its tag name appears whole, ended by ">" or "<".
TEST(ReadUpdateDocumentTest, RandomDocumentsOnlyYieldValuesThatFollowTheirTag) {
  const std::string pieces[] = {"<",
                                ">",
                                "/",
                                " ",
                                "\n",
                                "Program_Name",
                                "Program_Version",
                                "Primary_Download_URL",
                                "Application_Info_URL",
                                "x",
                                "5.0",
                                std::string(1, '\0'),
                                "\xff",
                                "<Program_Name>"};
  std::mt19937 random(20261207);
  for (int round = 0; round < 20000; ++round) {
    std::string document;
    const int length = static_cast<int>(random() % 40);
    for (int i = 0; i < length; ++i) document += pieces[random() % std::size(pieces)];
    UpdateRequest request;
    ReadUpdateDocument(document, request);
    const std::pair<const char*, const std::string*> fields[] = {
        {"Program_Name", &request.programName},
        {"Program_Version", &request.programVersion},
        {"Primary_Download_URL", &request.downloadAddress},
        {"Application_Info_URL", &request.infoAddress}};
    for (const auto& [tag, value] : fields) {
      if (value->empty()) continue;
      EXPECT_EQ(value->find_first_of("<>"), std::string::npos) << document;
      const std::string tagStart = std::string("<") + tag;
      EXPECT_TRUE(document.find(tagStart + ">") != std::string::npos ||
                  document.find(tagStart + "<") != std::string::npos)
          << document;
      EXPECT_NE(document.find(*value + "<"), std::string::npos) << document;
    }
  }
}

TEST(IsNewerVersionTest, ComparesTheDigitsAsOneNumber) {
  struct Case {
    const char* current;
    const char* offered;
    bool newer;
  };
  const Case cases[] = {
      {"V 5.004", "5.0.0.5", true},
      {"V 5.004", "5.0.0.4", false},
      {"V 5.004", "5.1", false},  // 51 < 5004
      {"V 5.004", "", false},
      {"", "0.0.0.1", true},
      {"", "0", false},
      {"", "no digits", false},
      {"V 5.004", "0005.0.0.5", true},   // leading zeros count for nothing
      {"V 0005.004", "5.0.0.3", false},  // nor do they on the current side
      {"V 5.004", "99999999999999999999999", true},
      {"99999999999999999999999", "99999999999999999999998", false},
      {"99999999999999999999998", "99999999999999999999999", true},
      {"V 5.004", "V 5.004", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsNewerVersion(c.current, c.offered), c.newer) << c.current << " vs " << c.offered;
  }
}

TEST(FormatUpdateQuestionTest, NamesTheProgramAndCutsLongNames) {
  EXPECT_EQ(
      FormatUpdateQuestion("Wheelwatcher"),
      "An update of Wheelwatcher is now available.\r\nDo you wish to proceed with the update?");
  EXPECT_EQ(FormatUpdateQuestion(""),
            "An update of  is now available.\r\nDo you wish to proceed with the update?");
  const auto shown = [](const std::string& name) {
    const std::string question = FormatUpdateQuestion(name);
    const std::string before = "An update of ";
    const std::string after = " is now available.\r\nDo you wish to proceed with the update?";
    EXPECT_EQ(question.substr(0, before.size()), before);
    EXPECT_EQ(question.substr(question.size() - after.size()), after);
    return question.substr(before.size(), question.size() - before.size() - after.size());
  };
  const auto repeat = [](const std::string& text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i) repeated += text;
    return repeated;
  };
  // Cut at 200 characters, counted in UTF-8, never inside one.
  const std::string euro = "\xE2\x82\xAC";
  const std::string clef = "\xF0\x9D\x84\x9E";
  const std::pair<std::string, std::string> cases[] = {
      {std::string(500, 'n'), std::string(200, 'n')},
      {repeat(euro, 100), repeat(euro, 100)},
      {repeat(euro, 250), repeat(euro, 200)},
      {"n" + repeat(clef, 250), "n" + repeat(clef, 199)},
      {std::string(199, 'n') + euro + "x", std::string(199, 'n') + euro},
      // Broken sequences count a byte each and are never completed by what follows.
      {std::string(199, 'n') + "\xE2\x82" + "x", std::string(199, 'n') + "\xE2"},
      {repeat("\x80", 300), repeat("\x80", 200)},
  };
  for (const auto& [name, expected] : cases) EXPECT_EQ(shown(name), expected) << name.size();
}

TEST(IsOpenableDownloadAddressTest, OnlyWebAddressesAreOpened) {
  const std::pair<const char*, bool> cases[] = {
      {"http://example.com/w.tar.gz", true},
      {"https://example.com/", true},
      {"HTTPS://example.com", true},
      {"file:///etc/passwd", false},
      {"/usr/bin/xterm", false},
      {"javascript:alert(1)", false},
      {"ftp://example.com/w", false},
      {"http:/example.com", false},
      {"http://", false},
      {"http:///path", false},
      {" http://example.com", false},
      {"http://example.com/a b", false},
      {"http://example.com/\n--flag", false},
      {"", false},
      // What the opener would refuse is refused before anyone is asked.
      {"http://example.com/\"x", false},
      {"http://example.com/`id`", false},
      {"http://example.com/{a}", false},
      {"http://example.com/a|b", false},
      {"http://example.com/\xE2\x82\xAC", false},
      {"http://example.com/a%2", false},
      {"http://-oProxyCommand=x/", false},
      {"http://user@-x.example.com/", false},
      {"http://.example.com/", false},
      {"http://example.com:80x/", false},
      {"http://[::1/", false},
      {"http://example.com:8080/w%20x.tar.gz?a=1&b=2#top", true},
      {"http://user@example.com/~me/(1)", true},
      {"http://[::1]:8080/w", true},
      {"http://dl_1.example.com", true},
  };
  for (const auto& [address, openable] : cases) {
    EXPECT_EQ(IsOpenableDownloadAddress(address), openable) << address;
  }
  // An opener is handed the address as one argument: one it could not pass is never offered.
  const std::string base = "http://example.com/";
  EXPECT_TRUE(
      IsOpenableDownloadAddress(base + std::string(kMaxDownloadAddressBytes - base.size(), 'a')));
  EXPECT_FALSE(IsOpenableDownloadAddress(base + std::string(900 * 1024, 'a')));
}

TEST(SplitDocumentAddressTest, KeepsHostAndPathAndDropsSchemeAndPort) {
  struct Case {
    const char* address;
    const char* server;
    const char* path;
  };
  const Case cases[] = {
      {"http://updates.example.com/wheelwatcher/update.xml", "updates.example.com",
       "/wheelwatcher/update.xml"},
      {"http://example.com:8080/u.xml", "example.com", "/u.xml"},
      {"https://example.com", "example.com", "/"},
      {"http://user:pw@example.com/u", "example.com", "/u"},
      {"http://example.com?v=1#top", "example.com", "/?v=1"},
      {"http://[::1]:81/u.xml", "[::1]", "/u.xml"},
  };
  for (const Case& c : cases) {
    const auto location = SplitDocumentAddress(c.address);
    ASSERT_TRUE(location) << c.address;
    EXPECT_EQ(location->server, c.server) << c.address;
    EXPECT_EQ(location->objectPath, c.path) << c.address;
  }
  for (const char* bad :
       {"", "example.com/u.xml", "http://", "http:///u.xml", "://x/y", "http://[::1/u"}) {
    EXPECT_FALSE(SplitDocumentAddress(bad)) << bad;
  }
}

// The addresses are set when packaging; a value the program could not use should fail the build's
// tests rather than a user's check.
TEST(FixedAddressesTest, AreWebAddressesTheProgramCanUse) {
  EXPECT_TRUE(SplitDocumentAddress(kUpdateDocumentAddress)) << kUpdateDocumentAddress;
  for (const char* address :
       {kUpdateDocumentAddress, kCasinoAddress1, kCasinoAddress2, kCasinoAddress3}) {
    EXPECT_TRUE(IsOpenableDownloadAddress(address)) << address;
  }
  // No help address means the guide that comes with the program.
  if (kHelpAddress[0] != '\0') {
    EXPECT_TRUE(IsOpenableDownloadAddress(kHelpAddress)) << kHelpAddress;
  }
}

}  // namespace

}  // namespace wheelwatcher
