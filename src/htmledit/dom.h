// The editor's own mutable document tree. Nodes live in an arena owned by the document
// (stable addresses, freed together), so that a huge or deeply nested document is neither
// freed nor walked recursively. Every change goes through the document, which counts it
// and tells its change sinks.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "htmledit/element_tags.h"

namespace htmledit {

enum class NodeType : uint8_t { Element = 1, Text = 3, Comment = 8, Document = 9, DocumentType = 10 };

struct Attribute {
  std::u16string name;   // as written (its case kept)
  std::u16string value;
};

class Document;

class Node {
 public:
  NodeType type = NodeType::Element;
  int tagId = TAGID_NULL;     // elements: ELEMENT_TAG_ID
  std::u16string tagName;     // elements: upper-case for known tags, as written otherwise
  std::u16string data;        // text; comments: the whole "<!--...-->"; doctype: "<!DOCTYPE ...>"
  std::vector<Attribute> attributes;  // elements: the specified attributes, in source order

  Node* parent = nullptr;
  Node* firstChild = nullptr;
  Node* lastChild = nullptr;
  Node* prev = nullptr;
  Node* next = nullptr;
  Document* owner = nullptr;

  bool IsElement() const { return type == NodeType::Element; }
  bool IsText() const { return type == NodeType::Text; }
  bool Is(int id) const { return type == NodeType::Element && tagId == id; }
  bool HasChildren() const { return firstChild != nullptr; }
  int ChildCount() const;

  // Attributes by name, without regard to case.
  const std::u16string* GetAttribute(std::u16string_view name) const;
  bool HasAttribute(std::u16string_view name) const { return GetAttribute(name) != nullptr; }
  // Integer attributes such as colSpan: the value, or fallback when absent or no number.
  int GetIntAttribute(std::u16string_view name, int fallback) const;
};

// The next node in document order below root (pre-order), or nullptr.
Node* NextInTree(const Node* node, const Node* root);
// The next node in document order that is not inside node.
Node* NextSkippingChildren(const Node* node, const Node* root);
// Whether ancestor is node or contains it.
bool Contains(const Node* ancestor, const Node* node);
// The nearest ancestor (or node itself) with one of the tag ids, stopping at stop.
Node* ClosestElement(Node* node, std::initializer_list<int> ids, const Node* stop = nullptr);

class Document {
 public:
  Document();
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  Node* Root() { return &root_; }
  const Node* Root() const { return &root_; }
  // The first HTML, HEAD, BODY and TITLE elements (nullptr when absent).
  Node* Html() const;
  Node* Head() const;
  Node* Body() const;
  std::u16string Title() const;

  Node* CreateElement(std::u16string_view name);
  Node* CreateText(std::u16string_view text);
  Node* CreateComment(std::u16string_view wholeComment);
  Node* CreateDoctype(std::u16string_view text);

  // Tree changes (each counts as one change and notifies).
  void AppendChild(Node* parent, Node* child);
  void InsertBefore(Node* parent, Node* child, Node* before);
  void Remove(Node* node);                  // detaches with its children
  void RemoveKeepingChildren(Node* node);   // its children take its place
  void SetAttribute(Node* element, std::u16string_view name, std::u16string_view value);
  void RemoveAttribute(Node* element, std::u16string_view name);
  void SetText(Node* textOrComment, std::u16string_view text);
  void RemoveChildren(Node* parent);
  // Drops the whole tree (the arena keeps growing until the document is cleared).
  void Clear();

  // The ordinal of an element among all elements in document order, as sourceIndex;
  // -1 for nodes that are not in the tree.
  int SourceIndex(const Node* element) const;
  std::vector<Node*> ElementsByTagId(int id) const;
  std::vector<Node*> ElementsByTagName(std::u16string_view name) const;

  // Change notification: every change above calls each sink once.
  using ChangeSink = std::function<void()>;
  int AddChangeSink(ChangeSink sink);
  void RemoveChangeSink(int cookie);
  uint64_t ChangeCount() const { return changeCount_; }
  // Marks a change made directly on nodes (the parser builds without notifying).
  void NoteChanged();
  // While suppressed (counted), changes are counted but sinks are not called.
  void SuppressNotifications(bool on) { suppressed_ += on ? 1 : -1; }

  size_t NodeCount() const { return arena_.size(); }

 private:
  Node* NewNode(NodeType type);
  void Link(Node* parent, Node* child, Node* before);
  void Unlink(Node* node);

  Node root_;
  std::deque<Node> arena_;
  std::vector<std::pair<int, ChangeSink>> sinks_;
  int nextCookie_ = 1;
  int suppressed_ = 0;
  uint64_t changeCount_ = 0;
  mutable uint64_t indexedAt_ = ~uint64_t{0};
  mutable std::vector<std::pair<const Node*, int>> sourceIndexes_;
};

// Serialisation in the platform's own forms: upper-case names of known elements,
// attribute values quoted only when needed, an empty paragraph as <P>&nbsp;</P>,
// CR LF before a block start tag that follows other content.
std::u16string InnerHTML(const Node* node);
std::u16string OuterHTML(const Node* node);
// The pieces of the same serialisation: an element's start and end tags, and text escaped.
std::u16string StartTagHTML(const Node* element);
std::u16string EndTagHTML(const Node* element);
std::u16string EscapedText(std::u16string_view text);
// The text content (no layout): every text node's data joined.
std::u16string TextContent(const Node* node);
// The style attribute as cssText: "NAME: value; NAME2: value2", names upper-case.
std::u16string StyleText(const Node* element);

// Tag classes used by layout and serialisation.
bool IsBlockTag(int tagId);
bool IsVoidTag(int tagId);

}  // namespace htmledit
