#pragma once
// How deep the XML parser nested what it read: its deepest element, walked without recursion (a
// document too deep for the parser's own recursion must not end the test that looks at it).
#include <tinyxml.h>

#include <string>
#include <utility>
#include <vector>

namespace tvtest {

inline int DeepestElement(const TiXmlNode& root) {
  int deepest = 0;
  std::vector<std::pair<const TiXmlNode*, int>> pending{{&root, 0}};
  while (!pending.empty()) {
    auto [node, depth] = pending.back();
    pending.pop_back();
    if (depth > deepest) deepest = depth;
    for (const TiXmlNode* child = node->FirstChild(); child; child = child->NextSibling())
      pending.push_back({child, depth + (child->ToElement() ? 1 : 0)});
  }
  return deepest;
}

// `input` parsed as UTF-8 XML: its deepest element.
inline int ParsedDepth(const std::string& input) {
  TiXmlDocument doc;
  doc.Parse(input.c_str(), nullptr, TIXML_ENCODING_UTF8);
  return DeepestElement(doc);
}

}  // namespace tvtest
