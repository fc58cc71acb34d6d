#include "skin/skin_model.h"

namespace skin {

std::vector<TDataSkinObject*> AllObjects(TSkinModel& m) {
  std::vector<TDataSkinObject*> all = {&m.Left, &m.Right, &m.Top, &m.Bottom, &m.Title, &m.Buttons,
                                       &m.Track, &m.TrackVert, &m.Toolbar};
  for (auto& b : m.SysButtons) all.push_back(&b);
  if (m.GroupBox) all.push_back(&*m.GroupBox);
  for (auto* o : {&m.Progress, &m.ProgressChunk, &m.MenuBar, &m.GroupBoxEdge, &m.Tabs, &m.StatusBarEdges, &m.TabPane,
                  &m.ToolBars, &m.ComboButton, &m.SunkEdge, &m.ExtraImages, &m.Headerbar, &m.MenuItem,
                  &m.MenuBackground, &m.Scrollbar, &m.HorzScroll, &m.VertScroll, &m.HorzScrollThumb,
                  &m.VertScrollThumb, &m.ThumbHorz, &m.ThumbVert, &m.ThumbLeft, &m.ThumbRight, &m.ThumbUp,
                  &m.ThumbDown, &m.UpDownHorz, &m.UpDownVert, &m.ComboxArrow}) {
    if (*o) all.push_back(&**o);
  }
  return all;
}

std::vector<const TDataSkinObject*> AllObjects(const TSkinModel& model) {
  const std::vector<TDataSkinObject*> all = AllObjects(const_cast<TSkinModel&>(model));
  return {all.begin(), all.end()};
}

}  // namespace skin
