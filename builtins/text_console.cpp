#include "builtins/text.h"
#include "platform/console_keys.h"

void bi_kbhit(NContext&, int, ArgList&, NRefPtr& result) { result = makeNum(consoleKeyWaiting() ? 1 : 0); }

void bi_getch(NContext&, int, ArgList&, NRefPtr& result) { result = makeNum(consoleReadKey(false)); }

void bi_getche(NContext&, int, ArgList&, NRefPtr& result) { result = makeNum(consoleReadKey(true)); }
