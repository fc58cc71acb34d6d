#include "htmledit/editor_selection.h"

#include "htmledit/document_edits.h"
#include "htmledit/preserved_source.h"
#include "unicode/codepage.h"

namespace htmledit {

TableSelection SelectionAt(const BodyText& layout, int start, int end) {
  TableSelection s;
  start = layout.Clamp(start);
  end = layout.Clamp(end);
  if (start > end) std::swap(start, end);
  s.start = start;
  s.end = end;
  if (end - start == 1) {
    int i = layout.RunAt(start);
    if (i >= 0) {
      const TextRun& run = layout.Runs()[static_cast<size_t>(i)];
      if (run.kind == TextRun::Object && run.start == start && run.node) {
        s.control = true;
        s.element = run.node;
        return s;
      }
    }
  }
  s.element = layout.CommonElement(start, end);
  return s;
}

std::u16string SelectionSource(const Document& doc, const TableSelection& selection, bool preservation,
                               const SourceContext& ctx) {
  if (!selection.element) return {};
  if (preservation) return StripDesignTimeAttributes(OuterHTML(selection.element));
  return GenerateElementSource(doc, selection.element, ctx);
}

bool SetSelectionSource(Document& doc, const TableSelection& selection, std::u16string_view html) {
  Node* e = selection.element;
  if (!e || e->Is(TAGID_BODY) || e->Is(TAGID_TD) || e->Is(TAGID_TH) || e->Is(TAGID_TR)) return false;
  return ReplaceElementHtml(doc, e, html);
}

std::string EncodeSourceForFile(std::u16string_view source) {
  std::string ansi = unicode::Utf16ToAnsi(source);
  if (unicode::AnsiToUtf16(ansi) == source) return ansi;
  return EncodeUtf16LeWithMark(source);
}

}  // namespace htmledit
