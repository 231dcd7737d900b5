#include "app/languages.h"

namespace vsi {

// Texts in Windows-1252.
const std::array<LanguageRow, 8> kLanguages{{
    {"SpeedButton6", "English", 0, "  Velmora System Info 1.0",
     {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October", "November",
      "December"},
     {"M", "T", "W", "T", "F", "S", "S"},
     "", u"English"},
    {"SpeedButton7", "French", 1, "  Velmora Information du Syst\xe8me 1.0",
     {"Janvier", "F\xe9vrier", "Mars", "Avril ", "Mai ", "Juin", "Juillet", "Ao\xfbt", "Septembre", "Octobre",
      "Novembre", "D\xe9" "cembre"},
     {"L", "M", "M", "J", "V", "S", "D"},
     "/index_fr.html", u"Fran\u00e7ais"},
    {"SpeedButton1", "German", 2, "  Velmora Systeminformationen 1.0",
     {"Januar", "Februar", "M\xe4rz", "April", "Mai", "Juni", "Juli", "August", "September", "Oktober", "November",
      "Dezember"},
     {"M", "D", "M", "D", "F", "S", "S"},
     "/index_de.html", u"Deutsch"},
    {"SpeedButton2", "Italian", 3, "  Velmora Informazioni di Sistema 1.0",
     {"Gennaio", "Febbraio", "Marzo", "Aprile", "Maggio", "Giugno", "Luglio", "Agosto", "Settembre", "Ottobre",
      "Novembre", "Dicembre"},
     {"L", "M", "M", "G", "V", "S", "D"},
     "/index_it.html", u"Italiano"},
    {"SpeedButton4", "Spanish", 4, "  Velmora Informaci\xf3n del sistema 1.0",
     {"Enero", "Febrero", "Marzo", "Abril", "Mayo", "Junio", "Julio", "Agosto", "Septiembre", "Octubre", "Noviembre",
      "Diciembre"},
     {"L", "M", "M", "J", "V", "S", "D"},
     "/index_sp.html", u"Espa\u00f1ol"},
    {"SpeedButton5", "Swedish", 5, "  Velmora Systeminformation 1.0",
     {"Januari", "Februari", "Mars", "April", "Maj", "Juni", "Juli", "Augusti", "September", "Oktober", "November",
      "December"},
     {"M", "T", "O", "T", "F", "L", "S"},
     "", u"Svenska"},
    {"SpeedButton3", "Portuguese", 6, "  Velmora Informa\xe7\xf5" "es de Sistema 1.0",
     {"Janeiro", "Fevereiro", "Mar\xe7o", "April", "Maio", "Junho", "Julho", "Agosto", "Setembro", "Outubro",
      "Novembro", "Dezembro"},
     {"S", "T", "Q", "Q", "S", "S", "D"},
     "", u"Portugu\u00eas"},
    {"SpeedButton8", "Dutch", 7, "  Velmora Systeeminfo 1.0",
     {"Januari", "Februari", "Maart", "April", "Mei", "Juni", "Juli", "Augustus", "September", "Oktober", "November",
      "December"},
     {"M", "D", "W", "D", "V", "Z", "Z"},
     "", u"Nederlands"},
}};

const LanguageRow* LanguageByState(const std::string& state) {
  for (const LanguageRow& row : kLanguages)
    if (state == row.state) return &row;
  return nullptr;
}

}  // namespace vsi
