#include "platform/xml_nesting.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/xml_depth.h"

namespace {

std::string Repeat(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

// The deepest element of what the parser built (it keeps the nodes it made before a fault), walked
// with a stack of its own.
int ParsedDepth(const std::string& text) {
  std::string input;
  std::u16string problem;
  if (!PrepareXmlForParser(text, input, problem)) return -1;
  return tvtest::ParsedDepth(input);
}

}  // namespace

TEST(XmlNestingTest, DeepDocumentsAreRefusedBeforeTheParserSeesThem) {
  std::string input;
  std::u16string problem;
  const std::string deep = Repeat("<a>", 30000) + Repeat("</a>", 30000);
  EXPECT_EQ(XmlNestingDepth(deep, kXmlNestingLimit), kXmlNestingLimit + 1);
  EXPECT_FALSE(PrepareXmlForParser(deep, input, problem));
  EXPECT_EQ(problem, u"nested more than 48 levels deep");
  EXPECT_TRUE(input.empty());
  // Never closed, with attributes, or opened after a sibling: all count.
  EXPECT_FALSE(PrepareXmlForParser("<r><x/>" + Repeat("<a k='v' j=\"w\">", 49), input, problem));

  // At the limit: given to the parser as it is, with the padding after it.
  const std::string limit = Repeat("<a>", kXmlNestingLimit) + "text" + Repeat("</a>", kXmlNestingLimit);
  ASSERT_TRUE(PrepareXmlForParser(limit, input, problem));
  EXPECT_EQ(input, limit + std::string(4, '\0'));
  EXPECT_TRUE(problem.empty());
  EXPECT_EQ(ParsedDepth(limit), kXmlNestingLimit);
  // Siblings and empty elements do not add up.
  EXPECT_EQ(XmlNestingDepth("<r>" + Repeat("<a><b/></a>", 5000) + "</r>", 100), 3);
  // The parser's text ends at the first NUL.
  EXPECT_TRUE(PrepareXmlForParser("<r/>" + std::string(1, '\0') + Repeat("<a>", 100), input, problem));
  EXPECT_EQ(input, std::string("<r/>") + std::string(4, '\0'));
}

// Each of these hides end tags from a careless count (inside a value, a comment, CDATA, a
// declaration, a numeric entity the parser reads up to a far ';', a UTF-8 lead byte that takes the
// '<' along), or shows end tags that the parser does not see: the parser nests every repetition.
TEST(XmlNestingTest, FollowsTheParserThroughEverythingThatHidesMarkup) {
  const char* const pieces[] = {
      "<a t=\"</a>\">",          "<a t='</a>'>",          "<a><!-- </a> -->",       "<a><![CDATA[</a>]]>",
      "<a>&#x</a>x;",            "<a>&#</a>#;",           "<a t=\"&#x\"</a>x;\">",  "<a>\xf0</a>",
      "<a t=\"\xf0\"/></a>\">",  "<a><?xml version='</a>'?>", "<a><!DOCTYPE </a>",   "<\xef\xbb\xbf" "a>",
  };
  for (const char* piece : pieces) {
    SCOPED_TRACE(piece);
    const std::string text = Repeat(piece, 60);
    EXPECT_EQ(XmlNestingDepth(text, 1000), ParsedDepth(Repeat(piece, 40)) + 20);
    EXPECT_GT(XmlNestingDepth(text, kXmlNestingLimit), kXmlNestingLimit);
  }
}

// Random documents of the pieces the rules turn on: the walk's depth is the parser's, always.
TEST(XmlNestingTest, AgreesWithTheParserOnRandomDocuments) {
  const char* const pieces[] = {
      "<a>", "<b>", "</a>", "</b>", "<a/>", "<b x='1'/>", " ", "\n", "text", "<a t=\"", "<b u='", "\"", "'",
      ">", "/>", "<", "=", "<!--", "-->", "<![CDATA[", "]]>", "<?xml version=\"1\"", "?>", "<!DOCTYPE",
      "&#x", "&#", "x;", "#1;", "1", ";", "&amp;", "&", "\xf0", "\xc3", "\xef\xbb\xbf", "</a ", "<_c>", "</_c>",
  };
  std::mt19937 random(20261208);
  std::uniform_int_distribution<size_t> pick(0, std::size(pieces) - 1);
  std::uniform_int_distribution<int> length(1, 60);
  for (int round = 0; round < 20000; ++round) {
    std::string text = round % 2 ? "<a>" : "";
    for (int n = length(random); n > 0; --n) text += pieces[pick(random)];
    ASSERT_EQ(XmlNestingDepth(text, 1000), ParsedDepth(text)) << text;
  }
}
