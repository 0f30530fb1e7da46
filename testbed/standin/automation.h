#pragma once
// The stand-in's automation objects: the application object with its properties DocFunctions and
// ItemFunctions, and those two objects with their methods. Each implements IDispatch by member
// name (no type library) and IExternalConnection, through which COM's stub manager reports a
// client's first reference and the release of its last one.
#include <windows.h>

#include "common/com_windows.h"
#include "testbed/standin/host.h"

namespace standin {

struct Objects {
  IDispatchPtr application;
  IDispatchPtr doc_functions;
  IDispatchPtr item_functions;
};

// Creates the three objects over `host`, which must outlive every reference to them.
Objects CreateObjects(Host& host);

}  // namespace standin
