#include "dvd/ifonames.h"

#include <array>
#include <iterator>
#include <span>

namespace {

const QString unknownName = QStringLiteral("???");

QString nameAt(std::span<const char* const> table, int index) {
    if (index < 0 || index >= int(table.size()))
        return unknownName;
    return QString::fromLatin1(table[index]);
}

struct LanguageEntry {
    char code[3];
    const char* name;
};

// Searched in this order; the first entry is the code of a stream with no language set.
// clang-format off
constexpr LanguageEntry languages[] = {
    {"  ", "Not Specified"},
    {"aa", "Afar"},              {"ab", "Abkhazian"},         {"af", "Afrikaans"},
    {"am", "Amharic"},           {"ar", "Arabic"},            {"as", "Assamese"},
    {"ay", "Aymara"},            {"az", "Azerbaijani"},       {"ba", "Bashkir"},
    {"be", "Byelorussian"},      {"bg", "Bulgarian"},         {"bh", "Bihari"},
    {"bi", "Bislama"},           {"bn", "Bengali; Bangla"},   {"bo", "Tibetan"},
    {"br", "Breton"},            {"ca", "Catalan"},           {"co", "Corsican"},
    {"cs", "Czech(Ceske)"},      {"cy", "Welsh"},             {"da", "Dansk"},
    {"de", "Deutsch"},           {"dz", "Bhutani"},           {"el", "Greek"},
    {"en", "English"},           {"eo", "Esperanto"},         {"es", "Espanol"},
    {"et", "Estonian"},          {"eu", "Basque"},            {"fa", "Persian"},
    {"fi", "Suomi"},             {"fj", "Fiji"},              {"fo", "Faroese"},
    {"fr", "French"},            {"fy", "Frisian"},           {"ga", "Irish"},
    {"gd", "Scots Gaelic"},      {"gl", "Galician"},          {"gn", "Guarani"},
    {"gu", "Gujarati"},          {"ha", "Hausa"},             {"he", "Hebrew"},
    {"hi", "Hindi"},             {"hr", "Hrvatski"},          {"hu", "Magyar"},
    {"hy", "Armenian"},          {"ia", "Interlingua"},       {"id", "Indonesian"},
    {"ie", "Interlingue"},       {"ik", "Inupiak"},           {"in", "Indonesian"},
    {"is", "Islenska"},          {"it", "Italiano"},          {"iu", "Inuktitut"},
    {"iw", "Hebrew"},            {"ja", "Japanese"},          {"ji", "Yiddish"},
    {"jw", "Javanese"},          {"ka", "Georgian"},          {"kk", "Kazakh"},
    {"kl", "Greenlandic"},       {"km", "Cambodian"},         {"kn", "Kannada"},
    {"ko", "Korean"},            {"ks", "Kashmiri"},          {"ku", "Kurdish"},
    {"ky", "Kirghiz"},           {"la", "Latin"},             {"ln", "Lingala"},
    {"lo", "Laothian"},          {"lt", "Lithuanian"},        {"lv", "Latvian, Lettish"},
    {"mg", "Malagasy"},          {"mi", "Maori"},             {"mk", "Macedonian"},
    {"ml", "Malayalam"},         {"mn", "Mongolian"},         {"mo", "Moldavian"},
    {"mr", "Marathi"},           {"ms", "Malay"},             {"mt", "Maltese"},
    {"my", "Burmese"},           {"na", "Nauru"},             {"ne", "Nepali"},
    {"nl", "Nederlands"},        {"no", "Norsk"},             {"oc", "Occitan"},
    {"om", "(Afan) Oromo"},      {"or", "Oriya"},             {"pa", "Punjabi"},
    {"pl", "Polish"},            {"ps", "Pashto, Pushto"},    {"pt", "Portugues"},
    {"qu", "Quechua"},           {"rm", "Rhaeto-Romance"},    {"rn", "Kirundi"},
    {"ro", "Romanian"},          {"ru", "Russian"},           {"rw", "Kinyarwanda"},
    {"sa", "Sanskrit"},          {"sd", "Sindhi"},            {"sg", "Sangho"},
    {"sh", "Serbo-Croatian"},    {"si", "Sinhalese"},         {"sk", "Slovak"},
    {"sl", "Slovenian"},         {"sm", "Samoan"},            {"sn", "Shona"},
    {"so", "Somali"},            {"sq", "Albanian"},          {"sr", "Serbian"},
    {"ss", "Siswati"},           {"st", "Sesotho"},           {"su", "Sundanese"},
    {"sv", "Svenska"},           {"sw", "Swahili"},           {"ta", "Tamil"},
    {"te", "Telugu"},            {"tg", "Tajik"},             {"th", "Thai"},
    {"ti", "Tigrinya"},          {"tk", "Turkmen"},           {"tl", "Tagalog"},
    {"tn", "Setswana"},          {"to", "Tonga"},             {"tr", "Turkish"},
    {"ts", "Tsonga"},            {"tt", "Tatar"},             {"tw", "Twi"},
    {"ug", "Uighur"},            {"uk", "Ukrainian"},         {"ur", "Urdu"},
    {"uz", "Uzbek"},             {"vi", "Vietnamese"},        {"vo", "Volapuk"},
    {"wo", "Wolof"},             {"xh", "Xhosa"},             {"yi", "Yiddish"},
    {"yo", "Yoruba"},            {"za", "Zhuang"},            {"zh", "Chinese"},
    {"zu", "Zulu"},
};
// clang-format on
static_assert(std::size(languages) == 143);

constexpr std::array<const char*, 2> videoCodings{"MPEG1", "MPEG2"};
constexpr std::array<const char*, 4> videoStandards{"NTSC", "PAL", "???", "???"};
constexpr std::array<const char*, 4> displayAspects{"4:3", "???", "???", "16:9"};
constexpr std::array<const char*, 4> ntscSizes{"720x480", "704x480", "352x480", "352x240"};
constexpr std::array<const char*, 4> palSizes{"720x576", "704x576", "352x576", "352x288"};
constexpr std::array<const char*, 7> audioCodings{"AC3",  "???", "MPEG1", "MPEG2",
                                                  "LPCM", "???", "DTS"};
constexpr std::array<const char*, 5> codeExtensions{"unspecified", "normal",
                                                    "for visually impaired", "director's comments",
                                                    "alternate director's comments"};

} // namespace

QString LanguageName(const QString& code) {
    if (code.size() == 2) {
        for (const LanguageEntry& entry : languages)
            if (code[0] == QLatin1Char(entry.code[0]) && code[1] == QLatin1Char(entry.code[1]))
                return QString::fromLatin1(entry.name);
    }
    return unknownName;
}

bool IsLanguageCode(const QString& code) {
    const auto letter = [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    };
    return code.size() == 2 && letter(code[0]) && letter(code[1]);
}

QString VideoCodingName(int index) {
    return nameAt(videoCodings, index);
}

QString VideoStandardName(int index) {
    return nameAt(videoStandards, index);
}

QString DisplayAspectName(int index) {
    return nameAt(displayAspects, index);
}

QString PictureSizeName(const QString& standard, int index) {
    if (standard == u"NTSC")
        return nameAt(ntscSizes, index);
    if (standard == u"PAL")
        return nameAt(palSizes, index);
    return {};
}

QString AudioCodingName(int index) {
    return nameAt(audioCodings, index);
}

QString AudioCodeExtensionName(int index) {
    return nameAt(codeExtensions, index);
}
