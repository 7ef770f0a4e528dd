// The program's table of texts, fetched by number, and printf-style filling of a text.
#pragma once

#include <string>

// The text of an identifier: language 0 is English, any other the Chinese column (which holds the
// English wording). An identifier the table lacks gives "Error! check program".
std::string GetMsgText(unsigned nId, int nLanguage = 0);

// The English text of nId filled with printf-style arguments (%s takes a const char*).
std::string FormatMsgText(unsigned nId, ...);
