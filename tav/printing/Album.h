// The command of the tab "ｱﾙﾊﾞﾑ印刷": album pages, each row a picture with its
// caption on the left and the picture's comment on the right; three rows on a
// portrait page, two on a landscape one.
#pragma once

class PrintHost;

// "印刷実行" (preview false: the print dialog first) and "ﾌﾟﾚﾋﾞｭｰ".
void PrintAlbum(PrintHost& host, bool preview);
