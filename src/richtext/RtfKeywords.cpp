#include "richtext/RtfKeywords.h"

#include <string_view>
#include <unordered_map>

namespace RtfKeywords {

namespace {

const std::unordered_map<std::string_view, Keyword> &Table()
{
    static const std::unordered_map<std::string_view, Keyword> table = [] {
        std::unordered_map<std::string_view, Keyword> t = {
            {"rtf", {Kw::Rtf}}, {"ansi", {Kw::Ansi}}, {"mac", {Kw::Mac}}, {"pc", {Kw::Pc}},
            {"pca", {Kw::Pca}}, {"ansicpg", {Kw::AnsiCpg}}, {"deff", {Kw::Deff}},
            {"uc", {Kw::Uc}}, {"u", {Kw::U}}, {"bin", {Kw::Bin}},
            {"fonttbl", {Kw::FontTable}}, {"colortbl", {Kw::ColorTable}},
            {"stylesheet", {Kw::Stylesheet}},
            {"field", {Kw::Field}}, {"fldinst", {Kw::FieldInstruction}},
            {"fldrslt", {Kw::FieldResult}}, {"pict", {Kw::Pict}},
            {"fcharset", {Kw::FCharset}}, {"cpg", {Kw::Cpg}}, {"fnil", {Kw::FNil}},
            {"froman", {Kw::FRoman}}, {"fswiss", {Kw::FSwiss}}, {"fmodern", {Kw::FModern}},
            {"fscript", {Kw::FScript}}, {"fdecor", {Kw::FDecor}}, {"ftech", {Kw::FTech}},
            {"fbidi", {Kw::FBidi}},
            {"red", {Kw::Red}}, {"green", {Kw::Green}}, {"blue", {Kw::Blue}},
            {"s", {Kw::Style}}, {"cs", {Kw::CharStyle}}, {"ds", {Kw::OtherStyle}},
            {"ts", {Kw::OtherStyle}},
            {"plain", {Kw::Plain}}, {"f", {Kw::Font}}, {"fs", {Kw::FontSize}},
            {"b", {Kw::Bold}}, {"i", {Kw::Italic}}, {"ul", {Kw::Underline}},
            {"ulnone", {Kw::UnderlineNone}}, {"strike", {Kw::Strike}}, {"cf", {Kw::Color}},
            {"cb", {Kw::Background}}, {"highlight", {Kw::Background}},
            {"chcbpat", {Kw::Background}},
            {"super", {Kw::Super}}, {"sub", {Kw::Sub}}, {"nosupersub", {Kw::NoSuperSub}},
            {"up", {Kw::Up}}, {"dn", {Kw::Dn}},
            {"pard", {Kw::Pard}}, {"ql", {Kw::Ql}}, {"qr", {Kw::Qr}}, {"qc", {Kw::Qc}},
            {"qj", {Kw::Qj}}, {"li", {Kw::Li}}, {"ri", {Kw::Ri}}, {"fi", {Kw::Fi}},
            {"sb", {Kw::Sb}}, {"sa", {Kw::Sa}}, {"sl", {Kw::Sl}}, {"slmult", {Kw::SlMult}},
            {"pagebb", {Kw::PageBb}}, {"keep", {Kw::Keep}},
            {"tqr", {Kw::TabRight}}, {"tqc", {Kw::TabCenter}}, {"tqdec", {Kw::TabDecimal}},
            {"tx", {Kw::TabStop}}, {"tb", {Kw::TabBar}},
            {"pngblip", {Kw::PngBlip}}, {"jpegblip", {Kw::JpegBlip}}, {"emfblip", {Kw::EmfBlip}},
            {"wmetafile", {Kw::WMetafile}}, {"dibitmap", {Kw::DiBitmap}},
            {"wbitmap", {Kw::WBitmap}}, {"picw", {Kw::PicW}}, {"pich", {Kw::PicH}},
            {"picwgoal", {Kw::PicWGoal}}, {"pichgoal", {Kw::PicHGoal}},
            {"picscalex", {Kw::PicScaleX}}, {"picscaley", {Kw::PicScaleY}},
            {"wbmbitspixel", {Kw::WbmBitsPixel}}, {"wbmwidthbytes", {Kw::WbmWidthBytes}},
            {"par", {Kw::Par}}, {"sect", {Kw::Sect}}, {"row", {Kw::Row}},
            {"nestrow", {Kw::Row}},
            {"line", {Kw::Line}}, {"tab", {Kw::Tab}}, {"page", {Kw::Page}},
            {"cell", {Kw::Cell}}, {"nestcell", {Kw::Cell}},
            {"emdash", {Kw::Char, 0x2014}}, {"endash", {Kw::Char, 0x2013}},
            {"bullet", {Kw::Char, 0x2022}}, {"lquote", {Kw::Char, 0x2018}},
            {"rquote", {Kw::Char, 0x2019}}, {"ldblquote", {Kw::Char, 0x201C}},
            {"rdblquote", {Kw::Char, 0x201D}}, {"emspace", {Kw::Char, 0x2003}},
            {"enspace", {Kw::Char, 0x2002}}, {"qmspace", {Kw::Char, 0x2005}},
            {"zwj", {Kw::Char, 0x200D}}, {"zwnj", {Kw::Char, 0x200C}},
            {"ltrmark", {Kw::Char, 0x200E}}, {"rtlmark", {Kw::Char, 0x200F}},
            // groups whose content is read as if the group were not there:
            // the picture of a shape, an object's result, a shape's result
            {"shppict", {Kw::Transparent}}, {"object", {Kw::Transparent}},
            {"result", {Kw::Transparent}}, {"upr", {Kw::Transparent}},
            {"shp", {Kw::Transparent}}, {"shprslt", {Kw::Transparent}},
        };
        // Underline kinds the editor shows as a plain underline.
        for (const char *w : {"uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave",
                              "ulldash", "ulth", "ulthd", "ulthdash", "ulthdashd",
                              "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave"})
            t.emplace(w, Keyword{Kw::Underline});
        // Destinations whose text is not part of the document.
        for (const char *w : {"info", "header", "headerl", "headerr",
                              "headerf", "footer", "footerl", "footerr", "footerf",
                              "footnote", "annotation", "listtable",
                              "listoverridetable", "revtbl", "rsidtbl", "filetbl",
                              "objdata", "objclass", "nonshppict", "pn", "xe", "tc",
                              "txe", "themedata", "colorschememapping", "latentstyles",
                              "datastore", "xmlnstbl", "pgdsctbl", "template", "ud",
                              "generator", "userprops", "docvar", "bkmkstart", "bkmkend",
                              "shpinst", "shptxt", "falt", "panose", "fontemb", "fontfile",
                              "atnid", "atnauthor"})
            t.emplace(w, Keyword{Kw::SkipDestination});
        return t;
    }();
    return table;
}

} // namespace

Keyword Find(QByteArrayView word)
{
    const auto &table = Table();
    const auto it = table.find(std::string_view(word.data(), size_t(word.size())));
    return it == table.end() ? Keyword{} : it->second;
}

bool ReadableStarred(Kw kind)
{
    switch (kind) {
    case Kw::FontTable:
    case Kw::ColorTable:
    case Kw::Stylesheet:
    case Kw::Transparent:
    case Kw::FieldInstruction:
    case Kw::FieldResult:
    case Kw::CharStyle: // a character style of the style sheet
        return true;
    default:
        return false;
    }
}

} // namespace RtfKeywords
