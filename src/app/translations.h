#pragma once

class QLocale;
class QObject;

namespace app {

// Puts Holdfin's texts, and Qt's own, into the language of `locale`: the English catalogue
// first (it gives the plural forms of the English source texts), over it the catalogue of the
// first of the locale's languages that Holdfin has, and Qt's qtbase catalogue for that
// language. A language without a catalogue stays English. The translators belong to `owner`:
// deleting it takes them out again.
void installTranslations(QObject& owner, const QLocale& locale);

} // namespace app
