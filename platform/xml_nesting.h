#pragma once
// A bound on the nesting of XML read from outside the program (the service document, skin files).
//
// The XML parser (TinyXML) goes one call deeper for every level of nesting, so a document nested
// some ten thousand levels deep overflows the reading thread's stack. Before any such text reaches
// the parser, PrepareXmlForParser measures how deep the parser would go: a loop over the text
// that steps through it exactly as the parser's reading does (tags, attribute values in quotes,
// comments, CDATA, declarations, the parser's UTF-8 steps), with no recursion of its own.
#include <string>
#include <string_view>

// Deeper documents are refused: the program's own go six levels deep at most.
inline constexpr int kXmlNestingLimit = 48;

// The deepest nesting of elements the parser reaches on text read as UTF-8 (elements opened and
// not yet closed, an empty element counting as one level). The walk ends as soon as stopAbove
// is passed, returning stopAbove + 1, or where the parser would give up on a fault.
int XmlNestingDepth(std::string_view text, int stopAbove);

// The text as the parser is to be given it: up to its first NUL character, followed by NULs
// enough that no step of the parser (a UTF-8 lead byte steps over up to three more bytes) reads
// past the buffer. False, with problem set ("nested more than 48 levels deep"), when the parser
// would go deeper than kXmlNestingLimit; input is then left empty.
bool PrepareXmlForParser(std::string_view text, std::string& input, std::u16string& problem);
