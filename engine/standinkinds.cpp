// What stands in for a part of a kind that is not built yet: the document
// kinds' text exchange of the page, which leaves the text as it is. (Every
// kind has its own object and record now; TStandInData stays the record of
// a stored kind the program does not know.)
#include "engine/objectkinds.h"

bool LoadDocumentFileText(const TData*, string&, int& first, int& second) {
  first = second = -1;
  return true;
}
