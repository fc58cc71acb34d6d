#include <windows.h>
#include <richedit.h>
#include <cstdio>
#include <string>
#include "htmledit/html_parser.h"
#include "htmledit/body_text.h"
#include "htmledit/rtf_view.h"
#include "htmledit/document_view_win32.h"
using namespace htmledit;
static double Ms(LARGE_INTEGER a, LARGE_INTEGER b){LARGE_INTEGER f;QueryPerformanceFrequency(&f);return 1000.0*(b.QuadPart-a.QuadPart)/f.QuadPart;}
static LARGE_INTEGER Now(){LARGE_INTEGER t;QueryPerformanceCounter(&t);return t;}
int wmain(){
  std::u16string big = u"<p>";
  while (big.size() < 4800000) big += u"<span style='font-size:10.5pt;font-family:\u5B8B\u4F53;mso-ascii-font-family:Calibri;mso-hansi-font-family:Calibri'>\u5927\u6BB5\u7684\u6587\u5B57</span>";
  big += u"</p><p>\u7ED3\u5C3E</p>";
  auto t0=Now();
  Document doc; ParseDocument(doc, big);
  auto t1=Now();
  BodyText lay = BodyText::Build(doc);
  auto t2=Now();
  std::string rtf = BodyTextToRtf(lay);
  auto t3=Now();
  printf("chars %d runs %zu formats %zu rtf %zu parse %.0f layout %.0f rtf %.0f\n", lay.Length(), lay.Runs().size(), lay.Formats().size(), rtf.size(), Ms(t0,t1), Ms(t1,t2), Ms(t2,t3));
  fflush(stdout);
  WNDCLASSW wc{};wc.lpfnWndProc=DefWindowProcW;wc.hInstance=GetModuleHandleW(nullptr);wc.lpszClassName=L"X";RegisterClassW(&wc);
  HWND w=CreateWindowExW(0,L"X",L"x",WS_OVERLAPPEDWINDOW|WS_VISIBLE,0,0,800,600,nullptr,nullptr,wc.hInstance,nullptr);
  DocumentView view; view.Create(w,RECT{0,0,780,560});
  auto t4=Now();
  bool ok = view.Mirror(lay);
  auto t5=Now();
  printf("mirror %d %.0f ms lines %d\n", ok, Ms(t4,t5), (int)SendMessageW(view.Handle(), EM_GETLINECOUNT,0,0));
  return 0;
}
