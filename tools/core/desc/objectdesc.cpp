#include "tools/core/desc/objectdesc.h"

#include "objects/core/abpdesc.h"
#include "objects/core/bmpcontdesc.h"
#include "objects/core/buttondesc.h"
#include "objects/core/dxshowdesc.h"
#include "objects/core/fastsearchdesc.h"
#include "objects/core/flashplayerdesc.h"
#include "objects/core/iedesc.h"
#include "objects/core/listdesc.h"
#include "objects/core/mcidesc.h"
#include "objects/core/flxdesc.h"
#include "objects/core/navitreedesc.h"
#include "objects/core/diawindowdesc.h"
#include "objects/core/picturedesc.h"
#include "objects/core/textdesc.h"
#include "objects/core/textdocdesc.h"

std::string ObjectStatementData(const std::vector<std::string>& words) {
  using Reader = std::string (*)(const std::vector<std::string>&);
  static const struct {
    const char* Word;
    Reader Data;
  } kStatements[] = {{"button", ButtonStatementData}, {"text", TextStatementData}, {"picture", PictureStatementData},
                     {"tree", NaviTreeStatementData}, {"media", MediaStatementData},  {"mcibar", McibarStatementData},
                     {"slides", SlidesStatementData}, {"animation", AnimationStatementData},
                     {"abp", AbpStatementData}, {"slideoverview", SlideOverviewStatementData},
                     {"document", DocumentStatementData}, {"dxshow", DXShowStatementData},
                     {"flash", FlashStatementData}, {"browser", BrowserStatementData},
                     {"list", ListStatementData}, {"combo", ListStatementData},
                     {"quicksearch", FastSearchStatementData}, {"helpregister", HelpRegisterStatementData}};
  if (words.empty()) return {};
  for (const auto& s : kStatements)
    if (words[0] == s.Word) return s.Data(words);
  return {};
}
