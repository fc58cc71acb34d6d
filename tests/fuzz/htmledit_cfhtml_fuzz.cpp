// Clipboard HTML as hostile input: CF_HTML read, the fragment parsed, laid out, its
// source generated and parsed again; the tree, the layout and the generated text must
// stay sound, and a document generated from a parsed one must generate the same text.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "htmledit/body_text.h"
#include "htmledit/cf_html.h"
#include "htmledit/html_parser.h"
#include "htmledit/source_generator.h"
#include "htmledit/table_editing.h"

using namespace htmledit;

namespace {
void Require(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto cf = ReadCfHtml(bytes);
  if (!cf) return 0;
  ParseLimits limits;
  limits.maxNodes = 200000;
  Document doc;
  ParseDocument(doc, cf->html, limits);
  Require(doc.Html() && doc.Head() && doc.Body());

  BodyText layout = BodyText::Build(doc);
  for (int pos = 0; pos <= layout.Length(); pos += 1 + layout.Length() / 16) {
    int clamped = layout.Clamp(pos);
    Require(clamped >= 0 && clamped <= layout.Length());
    DomPoint p = layout.PointAt(pos);
    Require(p.node != nullptr);
    int back = layout.PositionOf(p.node, p.offset);
    Require(back >= 0 && back <= layout.Length());
  }

  SourceContext ctx;
  ctx.preservedSource = cf->html;
  std::u16string source = GenerateSource(doc, ctx);
  Require(source != u"ERROR");
  Document again;
  ParseDocument(again, source, limits);
  Require(again.Body() != nullptr);

  // Table editing on whatever the fragment holds stays inside the tree.
  std::vector<Node*> cells = doc.ElementsByTagId(TAGID_TD);
  if (!cells.empty()) {
    TableEditor editor(doc);
    TableSelection s;
    s.element = cells.front();
    editor.InsertRow(s);
    editor.SplitCell(s);
    editor.DeleteColumn(s);
    Require(doc.Body() != nullptr);
  }
  return 0;
}
