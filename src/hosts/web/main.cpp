// Tolvaro in a web page. The page's script has mounted the working directory (its record files
// in IndexedDB, the picture and cursor files beside them) and made it the current one.
#include "app/Program.h"
#include "hosts/web/WebHost.h"

extern "C" void tolvaro_web_ended(int code);

int main() {
  tolvaro::web::WebHost host;
  const int code = tolvaro::runProgram(host);
  tolvaro_web_ended(code);
  return code;
}
