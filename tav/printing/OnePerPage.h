// The command of the tab "1ﾍﾟｰｼﾞ1画像印刷": each selected picture on a page of
// its own, as large as the image area allows or at a size in millimetres.
#pragma once

class PrintHost;

// "印刷実行" (preview false: the print dialog first) and "ﾌﾟﾚﾋﾞｭｰ".
void PrintOnePerPage(PrintHost& host, bool preview);
