#include "platform/win32/locale_data.h"

namespace syslocale {

namespace {

// The locales whose month names a date does not inflect.
#define NO_GENITIVE \
  { nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr }

constexpr LocaleData kLocales[] = {
    {"en_US", 0x0409, u"English", u"United States", u"English (United States)",
     u"M/d/yyyy", u"dddd, MMMM d, yyyy", u"h:mm:ss tt", u"MMMM, yyyy", u"/", u":", 0, u"AM", u"PM", 6,
     {u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday", u"Sunday"},
     {u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat", u"Sun"},
     {u"January", u"February", u"March", u"April", u"May", u"June", u"July", u"August", u"September", u"October",
      u"November", u"December"},
     NO_GENITIVE,
     {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun", u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"}, u"A.D."},
    {"en_GB", 0x0809, u"English", u"United Kingdom", u"English (United Kingdom)",
     u"dd/MM/yyyy", u"dd MMMM yyyy", u"HH:mm:ss", u"MMMM yyyy", u"/", u":", 1, u"AM", u"PM", 0,
     {u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday", u"Sunday"},
     {u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat", u"Sun"},
     {u"January", u"February", u"March", u"April", u"May", u"June", u"July", u"August", u"September", u"October",
      u"November", u"December"},
     NO_GENITIVE,
     {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun", u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"}, u"A.D."},
    {"de_DE", 0x0407, u"German", u"Germany", u"Deutsch (Deutschland)",
     u"dd.MM.yyyy", u"dddd, d. MMMM yyyy", u"HH:mm:ss", u"MMMM yyyy", u".", u":", 1, u"", u"", 0,
     {u"Montag", u"Dienstag", u"Mittwoch", u"Donnerstag", u"Freitag", u"Samstag", u"Sonntag"},
     {u"Mo", u"Di", u"Mi", u"Do", u"Fr", u"Sa", u"So"},
     {u"Januar", u"Februar", u"März", u"April", u"Mai", u"Juni", u"Juli", u"August", u"September", u"Oktober",
      u"November", u"Dezember"},
     NO_GENITIVE,
     {u"Jan", u"Feb", u"Mrz", u"Apr", u"Mai", u"Jun", u"Jul", u"Aug", u"Sep", u"Okt", u"Nov", u"Dez"}, u"n. Chr."},
    {"de_AT", 0x0C07, u"German", u"Austria", u"Deutsch (Österreich)",
     u"dd.MM.yyyy", u"dddd, dd. MMMM yyyy", u"HH:mm:ss", u"MMMM yyyy", u".", u":", 1, u"", u"", 0,
     {u"Montag", u"Dienstag", u"Mittwoch", u"Donnerstag", u"Freitag", u"Samstag", u"Sonntag"},
     {u"Mo", u"Di", u"Mi", u"Do", u"Fr", u"Sa", u"So"},
     {u"Jänner", u"Februar", u"März", u"April", u"Mai", u"Juni", u"Juli", u"August", u"September", u"Oktober",
      u"November", u"Dezember"},
     NO_GENITIVE,
     {u"Jän", u"Feb", u"Mär", u"Apr", u"Mai", u"Jun", u"Jul", u"Aug", u"Sep", u"Okt", u"Nov", u"Dez"}, u"n. Chr."},
    {"cs_CZ", 0x0405, u"Czech", u"Czech Republic", u"Čeština (Česká republika)",
     u"d.M.yyyy", u"d. MMMM yyyy", u"H:mm:ss", u"MMMM yyyy", u".", u":", 1, u"dop.", u"odp.", 0,
     {u"pondělí", u"úterý", u"středa", u"čtvrtek", u"pátek", u"sobota", u"neděle"},
     {u"po", u"út", u"st", u"čt", u"pá", u"so", u"ne"},
     {u"leden", u"únor", u"březen", u"duben", u"květen", u"červen", u"červenec", u"srpen", u"září", u"říjen",
      u"listopad", u"prosinec"},
     {u"ledna", u"února", u"března", u"dubna", u"května", u"června", u"července", u"srpna", u"září", u"října",
      u"listopadu", u"prosince"},
     {u"led", u"úno", u"bře", u"dub", u"kvě", u"čvn", u"čvc", u"srp", u"zář", u"říj", u"lis", u"pro"}, u"n. l."},
    {"fr_FR", 0x040C, u"French", u"France", u"Français (France)",
     u"dd/MM/yyyy", u"dddd d MMMM yyyy", u"HH:mm:ss", u"MMMM yyyy", u"/", u":", 1, u"", u"", 0,
     {u"lundi", u"mardi", u"mercredi", u"jeudi", u"vendredi", u"samedi", u"dimanche"},
     {u"lun.", u"mar.", u"mer.", u"jeu.", u"ven.", u"sam.", u"dim."},
     {u"janvier", u"février", u"mars", u"avril", u"mai", u"juin", u"juillet", u"août", u"septembre", u"octobre",
      u"novembre", u"décembre"},
     NO_GENITIVE,
     {u"janv.", u"févr.", u"mars", u"avr.", u"mai", u"juin", u"juil.", u"août", u"sept.", u"oct.", u"nov.", u"déc."},
     u"ap. J.-C."},
    {"es_ES", 0x0C0A, u"Spanish", u"Spain", u"Español (España)",
     u"dd/MM/yyyy", u"dddd, d' de 'MMMM' de 'yyyy", u"H:mm:ss", u"MMMM' de 'yyyy", u"/", u":", 1, u"", u"", 0,
     {u"lunes", u"martes", u"miércoles", u"jueves", u"viernes", u"sábado", u"domingo"},
     {u"lun", u"mar", u"mié", u"jue", u"vie", u"sáb", u"dom"},
     {u"enero", u"febrero", u"marzo", u"abril", u"mayo", u"junio", u"julio", u"agosto", u"septiembre", u"octubre",
      u"noviembre", u"diciembre"},
     NO_GENITIVE,
     {u"ene", u"feb", u"mar", u"abr", u"may", u"jun", u"jul", u"ago", u"sep", u"oct", u"nov", u"dic"}, u"d.C."},
    {"it_IT", 0x0410, u"Italian", u"Italy", u"Italiano (Italia)",
     u"dd/MM/yyyy", u"dddd d MMMM yyyy", u"HH:mm:ss", u"MMMM yyyy", u"/", u":", 1, u"", u"", 0,
     {u"lunedì", u"martedì", u"mercoledì", u"giovedì", u"venerdì", u"sabato", u"domenica"},
     {u"lun", u"mar", u"mer", u"gio", u"ven", u"sab", u"dom"},
     {u"gennaio", u"febbraio", u"marzo", u"aprile", u"maggio", u"giugno", u"luglio", u"agosto", u"settembre",
      u"ottobre", u"novembre", u"dicembre"},
     NO_GENITIVE,
     {u"gen", u"feb", u"mar", u"apr", u"mag", u"giu", u"lug", u"ago", u"set", u"ott", u"nov", u"dic"}, u"d.C."},
    {"nl_NL", 0x0413, u"Dutch", u"Netherlands", u"Nederlands (Nederland)",
     u"d-M-yyyy", u"dddd d MMMM yyyy", u"H:mm:ss", u"MMMM yyyy", u"-", u":", 1, u"", u"", 0,
     {u"maandag", u"dinsdag", u"woensdag", u"donderdag", u"vrijdag", u"zaterdag", u"zondag"},
     {u"ma", u"di", u"wo", u"do", u"vr", u"za", u"zo"},
     {u"januari", u"februari", u"maart", u"april", u"mei", u"juni", u"juli", u"augustus", u"september", u"oktober",
      u"november", u"december"},
     NO_GENITIVE,
     {u"jan", u"feb", u"mrt", u"apr", u"mei", u"jun", u"jul", u"aug", u"sep", u"okt", u"nov", u"dec"}, u"n.Chr."},
    {"pl_PL", 0x0415, u"Polish", u"Poland", u"Polski (Polska)",
     u"dd.MM.yyyy", u"d MMMM yyyy", u"HH:mm:ss", u"MMMM yyyy", u".", u":", 1, u"", u"", 0,
     {u"poniedziałek", u"wtorek", u"środa", u"czwartek", u"piątek", u"sobota", u"niedziela"},
     {u"pn", u"wt", u"śr", u"cz", u"pt", u"so", u"nd"},
     {u"styczeń", u"luty", u"marzec", u"kwiecień", u"maj", u"czerwiec", u"lipiec", u"sierpień", u"wrzesień",
      u"październik", u"listopad", u"grudzień"},
     {u"stycznia", u"lutego", u"marca", u"kwietnia", u"maja", u"czerwca", u"lipca", u"sierpnia", u"września",
      u"października", u"listopada", u"grudnia"},
     {u"sty", u"lut", u"mar", u"kwi", u"maj", u"cze", u"lip", u"sie", u"wrz", u"paź", u"lis", u"gru"}, u"n.e."},
    {"pt_BR", 0x0416, u"Portuguese", u"Brazil", u"Português (Brasil)",
     u"dd/MM/yyyy", u"dddd, d' de 'MMMM' de 'yyyy", u"HH:mm:ss", u"MMMM' de 'yyyy", u"/", u":", 1, u"", u"", 6,
     {u"segunda-feira", u"terça-feira", u"quarta-feira", u"quinta-feira", u"sexta-feira", u"sábado", u"domingo"},
     {u"seg", u"ter", u"qua", u"qui", u"sex", u"sáb", u"dom"},
     {u"janeiro", u"fevereiro", u"março", u"abril", u"maio", u"junho", u"julho", u"agosto", u"setembro", u"outubro",
      u"novembro", u"dezembro"},
     NO_GENITIVE,
     {u"jan", u"fev", u"mar", u"abr", u"mai", u"jun", u"jul", u"ago", u"set", u"out", u"nov", u"dez"}, u"d.C."},
    {"sv_SE", 0x041D, u"Swedish", u"Sweden", u"Svenska (Sverige)",
     u"yyyy-MM-dd", u"'den 'd MMMM yyyy", u"HH:mm:ss", u"MMMM yyyy", u"-", u":", 1, u"", u"", 0,
     {u"måndag", u"tisdag", u"onsdag", u"torsdag", u"fredag", u"lördag", u"söndag"},
     {u"må", u"ti", u"on", u"to", u"fr", u"lö", u"sö"},
     {u"januari", u"februari", u"mars", u"april", u"maj", u"juni", u"juli", u"augusti", u"september", u"oktober",
      u"november", u"december"},
     NO_GENITIVE,
     {u"jan", u"feb", u"mar", u"apr", u"maj", u"jun", u"jul", u"aug", u"sep", u"okt", u"nov", u"dec"}, u"e.Kr."},
    {"ru_RU", 0x0419, u"Russian", u"Russia", u"Русский (Россия)",
     u"dd.MM.yyyy", u"d MMMM yyyy 'г.'", u"H:mm:ss", u"MMMM yyyy", u".", u":", 1, u"", u"", 0,
     {u"понедельник", u"вторник", u"среда", u"четверг", u"пятница", u"суббота", u"воскресенье"},
     {u"Пн", u"Вт", u"Ср", u"Чт", u"Пт", u"Сб", u"Вс"},
     {u"Январь", u"Февраль", u"Март", u"Апрель", u"Май", u"Июнь", u"Июль", u"Август", u"Сентябрь", u"Октябрь",
      u"Ноябрь", u"Декабрь"},
     {u"января", u"февраля", u"марта", u"апреля", u"мая", u"июня", u"июля", u"августа", u"сентября", u"октября",
      u"ноября", u"декабря"},
     {u"янв", u"фев", u"мар", u"апр", u"май", u"июн", u"июл", u"авг", u"сен", u"окт", u"ноя", u"дек"}, u"н.э."},
};

#undef NO_GENITIVE

constexpr std::size_t kCount = sizeof(kLocales) / sizeof(kLocales[0]);

}  // namespace

const LocaleData* Locales(std::size_t* count) {
  *count = kCount;
  return kLocales;
}

const LocaleData* FindLocale(std::string_view name) {
  // "de_DE.UTF-8@euro" and "de-DE" are de_DE.
  const std::size_t cut = name.find_first_of(".@");
  if (cut != std::string_view::npos) name = name.substr(0, cut);
  std::string key(name);
  for (char& c : key) {
    if (c == '-') c = '_';
  }
  const std::string_view language = std::string_view(key).substr(0, key.find('_'));
  if (language.size() < 2) return nullptr;
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  std::string wanted;
  for (char c : language) wanted += lower(c);
  if (key.size() > language.size()) {
    wanted += '_';
    for (char c : std::string_view(key).substr(language.size() + 1)) wanted += upper(c);
  }
  for (const LocaleData& l : kLocales)
    if (wanted == l.name) return &l;
  for (const LocaleData& l : kLocales)
    if (std::string_view(l.name).substr(0, 2) == wanted.substr(0, 2) && wanted.size() >= 2 &&
        (wanted.size() == 2 || wanted[2] == '_'))
      return &l;
  return nullptr;
}

const LocaleData* LocaleOf(LCID lcid) {
  if (lcid == LOCALE_USER_DEFAULT || lcid == LOCALE_SYSTEM_DEFAULT || lcid == 0) return &UserLocale();
  for (const LocaleData& l : kLocales)
    if (l.lcid == lcid) return &l;
  return nullptr;
}

}  // namespace syslocale
