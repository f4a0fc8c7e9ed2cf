#pragma once

#include <QString>

// The product's own words, shown in titles and the About window.
namespace ProductTexts {

inline const QString Maker = QStringLiteral("Vartelo");
inline const QString ApplicationTitle = QStringLiteral("Datalogger Manager");
inline const QString ProductCaption = QStringLiteral("QL40982 Datalogger Manager");
inline const QString ContactMail = QStringLiteral("support@vartelo.example");
inline const QString ContactWeb = QStringLiteral("www.vartelo.example");

}  // namespace ProductTexts
