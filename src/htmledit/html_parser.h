// HTML text to the editor's document tree: a tokenizer and a tree builder after the HTML5
// rules that matter for documents people paste (implied html/head/body, paragraphs closed
// by blocks, list items, implied table sections and rows, foster-parenting of stray table
// content, reopened formatting after misnesting). Input is hostile: it is read once,
// iteratively, with caps on size, nesting and node count.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "htmledit/dom.h"

namespace htmledit {

struct ParseLimits {
  size_t maxChars = size_t{64} << 20;  // longer input is cut here
  size_t maxDepth = 256;               // deeper start tags are dropped (their content stays)
  size_t maxNodes = 2000000;           // then only text is kept
};

struct ParseReport {
  bool truncated = false;    // input longer than maxChars
  bool depthCapped = false;
  bool nodesCapped = false;
};

// Replaces doc's content by the parsed document (always html, head and body).
ParseReport ParseDocument(Document& doc, std::u16string_view html, const ParseLimits& limits = {});

// Parses a fragment in body context and copies its top-level nodes into target's arena
// (detached, in order), ready to be inserted.
std::vector<Node*> ParseFragment(Document& target, std::u16string_view html, const ParseLimits& limits = {});

// A deep copy of node (from any document) made in target's arena, detached.
Node* CloneTree(Document& target, const Node* node);

}  // namespace htmledit
