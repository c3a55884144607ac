#include "tav/core/SettingsSchema.h"

namespace {

constexpr const char* kFontName = "ＭＳ Ｐゴシック";

void walkEtc(SettingsVisitor& v)
{
    v.section("ETC");
    v.appText("GV", "", &AppSettings::gvPath);
    v.appFlag("GvVer", false, &AppSettings::gvIs080OrLater);
    v.appInt("GvTT", 6, &AppSettings::gvWaitSeconds);
    v.appInt("SP_MACHI", 0, &AppSettings::spoolWaitSeconds);
    v.previewZoom("KAKU_K");
    v.browserFolder("DIR");
    v.listIndex("SORT", 0, "cb_sort");
    v.appFlag("DIB_FLG", false, &AppSettings::highQualityScaling);
    v.appFlag("SHOW_WANPO", true, &AppSettings::showHintsAtStart);
    v.appFlag("EXIF_KAITEN", true, &AppSettings::uprightPictures);
    v.appFlag("ICC_IRO", true, &AppSettings::colourProfiles);
    v.appFlag("EXIF_DATE", true, &AppSettings::exifShootingDate);
    v.appFlag("EXIF_GPS", true, &AppSettings::keepGpsOnConvert);
}

void walkFonts(SettingsVisitor& v, AppSettings& s)
{
    v.section("FONT");
    v.appFont("", s.fileNameFont);
    v.section("KFONT");
    v.appFont("", s.commentFont);
    v.section("CONV");
    v.text("path", "", "tx_out_path");
}

void walkStickerAndOnePerPage(SettingsVisitor& v)
{
    v.section("PURIKURA");
    v.text("kasane", "", "tx_kasane");
    v.counterText("komaHaba", 40, "ud_komaHabaMM", "tx_komaHabaMM");
    v.flag("tonbo", false, "ch_tonbo");

    v.section("P1");
    v.flag("zentai", true, "ch_zentai");
    v.flag("saiteki", false, "ch_saiteki");
    v.flag("size", false, "ch_size");
    v.text("w", "100.0", "tx_w");
    v.text("h", "100.0", "tx_h");
    v.flag("tateYoko", true, "ch_tateYoko");
    v.flag("cyu", true, "ch_cyu");
    v.text("left", "0", "tx_left");
    v.text("top", "0", "tx_top");
    v.flag("fileName", false, "ch_fileNamePr1");
    v.flag("gazouInfo", false, "ch_gazouInfo1");
    v.flag("satuDate", false, "ch_satuDatePr1");
    v.flag("TitlePr", false, "ch_prTitlePr1");
    v.flag("kakuCyoshiPr", false, "ch_kakuCyoshiPr1");
    v.flag("hetaNasiPr", true, "ch_hetaNasiPr1");
    v.flag("futaNasiPr", true, "ch_futaNasiPr1");
    v.flag("yohakuNasi", false, "ch_yohakuNasiPr1");
}

void walkMultiImage(SettingsVisitor& v)
{
    v.section("PN");
    v.listIndex("gaSu", 0, "cb_gaSu");
    v.flag("fileName", false, "ch_fileNamePr");
    v.flag("gazouInfo", false, "ch_gazouInfo");
    v.flag("satuDate", false, "ch_satuDatePr");
    v.flag("TitlePr", false, "ch_titlePr");
    v.counterText("h", 0, "ud_komaYohaku", "tx_komaYohaku");
    v.flag("onazi", false, "cb_onazi");
    v.flag("kakuCyoshiPr", false, "ch_kakuCyoshiPr");
    v.flag("saiteki", false, "ch_saitekiPr");
    v.flag("hetaNasi", true, "ch_hetaNasiPr");
    v.flag("futaNasi", true, "ch_futaNasiPr");
    v.flag("yohakuNasi", false, "ch_yohakuNasiPr");
    v.flag("gasuKara", true, "cb_gaSuKaraPr");
    v.flag("tateYokoKara", false, "cb_tateYokoKaraPr");
    v.listIndex("suW", 2, "suWPr");
    v.listIndex("suH", 4, "suHPr");
}

void walkAdjustAndConvert(SettingsVisitor& v)
{
    v.section("KA_CYOUSEI");
    v.counterText("akarusa", 0, "ud_akarusa", "tx_akarusa");
    v.counterText("r", 0, "ud_r", "tx_r");
    v.counterText("g", 0, "ud_g", "tx_g");
    v.counterText("b", 0, "ud_b", "tx_b");
    v.flag("gurei", false, "ch_gurei");

    v.section("FILE_HENKAN");
    v.flag("bmp", true, "rb_bmp");
    v.flag("jpg", false, "rb_jpg");
    v.flag("tif", false, "rb_tif");
    v.flag("bmp_comp", false, "cb_bmp_comp");
    v.listIndex("bmp_coln", 0, "cb_bmp_coln");
    v.counterText("jpg_comp", 60, "UpDown1", "ed_jpg_comp");
    v.listIndex("tif_comp", 0, "cb_tif_comp");
    v.listIndex("tif_coln", 0, "cb_tif_coln");
    v.flag("tateYokoHi", true, "cb_tateYokoHi");
    v.counterText("outW", 320, "UpDown2", "tx_outW");
    v.counterText("outH", 240, "UpDown3", "tx_outH");
    v.flag("size", false, "cb_size");
    v.text("out_path", "", "tx_out_path");
}

void walkThumbnailSheets(SettingsVisitor& v)
{
    v.section("SUM");
    v.listIndex("sizeW", 5, "suSizeW");
    v.listIndex("sizeH", 3, "suSizeH");
    v.flag("kage", false, "suKage");
    v.swatch("kageCol", 8421504, "suKageCol");
    v.listIndex("w", 5, "suW");
    v.listIndex("h", 4, "suH");
    v.flag("prFname", false, "suPrFname");
    v.flag("prGInfo", false, "suPrGInfo");
    v.counterText("jpg_comp", 100, "UpDown7", "su_jpg_comp");
    v.flag("satuDate", false, "ch_satuDateSu");
    v.flag("TitlePr", false, "ch_prTitleSu");
    v.counterNumber("yohaku", 0, "UpDown5", "suYohaku");
    v.listIndex("type", 1, "suType");
    v.text("fname", "", "suOutPath");
    v.text("daishi", "", "suDaishi");
    v.flag("kakuCyoshiPr", false, "ch_kakuCyoshiSU");
}

void walkIndexServiceAlbum(SettingsVisitor& v)
{
    v.section("INDEX_PR");
    v.flag("fileName", false, "ch_fileNameAPS");
    v.flag("gazouInfo", false, "ch_gazouInfoAPS");
    v.flag("satuDate", false, "ch_satuDateAPS");
    v.flag("TitlePr", false, "ch_prTitleAPS");
    v.flag("kakuCyoshiPr", false, "ch_kakuCyoshiAPS");

    v.section("SV_PR");
    v.flag("tonboSV", false, "ch_tonboSV");
    v.flag("giseiSV", false, "ch_giseiSV");
    static constexpr const char* kSizes[] = {"rb_sb", "rb_L",  "rb_LL",  "rb_8", "rb_6",
                                             "rb_4",  "rb_6w", "rb_6ws", "rb_4w"};
    v.radioChoice("size", kSizes, 9);

    v.section("AL_PR");
    v.flag("fileName", false, "ch_PrFnameAL");
    v.flag("gazouInfo", false, "ch_PrGInfoAL");
    v.flag("satuDate", false, "ch_satuDateAL");
    v.flag("TitlePr", false, "ch_prTiTleAL");
    v.counterPosition("yohaku", 0, "UpDown6");
    v.flag("kakuCyoshiPr", false, "ch_kakuCyoshiAL");
    v.flag("hetaNasi", true, "ch_hetaNasiAL");
    v.flag("futaNasi", true, "ch_futaNasiAL");
    v.flag("yohakuNasi", false, "ch_yohakuNasiAL");
}

void walkHtml(SettingsVisitor& v)
{
    v.section("HTML");
    v.counterPosition("PW", 512, "ud_tx_pgWidthHt");
    v.counterPosition("XN", 5, "ud_tx_MaxXnHt");
    v.swatch("bgCol", 16777215, "pgHeikeiColHt");
    v.flag("prFname", true, "ch_PrFnameHt");
    v.flag("prGInfo", false, "ch_PrGInfoHt");
    v.flag("prDate", false, "ch_satuDateHt");
    v.flag("prComTitle", false, "ch_prTiTleHt");
    v.flag("prKaku", false, "ch_kakuCyoshiHt");
    v.text("TiTle", "", "tx_pgTitleHt");
    v.flag("DirTitle", false, "cb_dirNameTitle");
    v.listIndex("TiTleIchi", 1, "pgTitleIchiHt");
    v.listIndex("FontSize", 9, "cb_pgFontSizeHt");
    v.flag("FontFuto", false, "cb_pgFontFutoHt");
    v.flag("FontIta", false, "cb_pgFontItaHt");
    v.flag("sen", true, "cb_senHt");
    v.flag("samu", false, "cb_samuHt");
    v.counterPosition("samuW", 144, "ud_tx_samuW_ht");
    v.counterPosition("samuH", 94, "ud_tx_samuH_ht");
    v.text("fname", "noName.htm", "tx_htmlFname");
}

void walkPage(SettingsVisitor& v, AppSettings& s)
{
    v.section("YOHAKU");
    v.appInt("ue", 0, &AppSettings::marginTop);
    v.appInt("sita", 0, &AppSettings::marginBottom);
    v.appInt("migi", 0, &AppSettings::marginRight);
    v.appInt("hidari", 0, &AppSettings::marginLeft);

    v.section("HADAFUDA");
    static constexpr const char* kHeader[] = {"L_font", "C_font", "R_font"};
    static constexpr const char* kHeaderType[] = {"L_type", "C_type", "R_type"};
    static constexpr const char* kFooter[] = {"fuL_font", "fuC_font", "fuR_font"};
    static constexpr const char* kFooterType[] = {"fuL_type", "fuC_type", "fuR_type"};
    v.appText("hetaTitle", "", &AppSettings::headerTitle);
    for (int i = 0; i < 3; ++i) {
        v.appFont(kHeader[i], s.header[i].font);
        v.appSlotType(kHeaderType[i], s.header[i].type);
    }
    v.appText("futaTitle", "", &AppSettings::footerTitle);
    for (int i = 0; i < 3; ++i) {
        v.appFont(kFooter[i], s.footer[i].font);
        v.appSlotType(kFooterType[i], s.footer[i].type);
    }
    v.appFlag("heLine_Flg", false, &AppSettings::headerLine);
    v.appInt("heLine_size", 0, &AppSettings::headerLineSize);
    v.appFlag("fuLine_Flg", false, &AppSettings::footerLine);
    v.appInt("fuLine_size", 0, &AppSettings::footerLineSize);

    v.section("TICOM");
    v.flag("prv", false, "cb_ticom_prv");

    v.section("CD_COL");
    static constexpr const char* kColors[] = {"COL1",  "COL2",  "COL3",  "COL4",  "COL5",  "COL6",
                                              "COL7",  "COL8",  "COL9",  "COL10", "COL11", "COL12",
                                              "COL13", "COL14", "COL15", "COL16"};
    for (int i = 0; i < 16; ++i)
        v.appCustomColor(kColors[i], s.customColors[i]);
}

}  // namespace

platform::FontSpec defaultSettingsFont() { return platform::FontSpec{QString::fromUtf8(kFontName), 9, 0, 0}; }

void walkSettingsSchema(SettingsVisitor& v, AppSettings& s)
{
    walkEtc(v);
    walkFonts(v, s);
    walkStickerAndOnePerPage(v);
    walkMultiImage(v);
    walkAdjustAndConvert(v);
    walkThumbnailSheets(v);
    walkIndexServiceAlbum(v);
    walkHtml(v);
    walkPage(v, s);
}
