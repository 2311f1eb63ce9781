#include "document/CSwoop2Doc.h"

// The document template creates the document by its class.
IMPLEMENT_DYNCREATE(CSwoop2Doc, CDocument)
