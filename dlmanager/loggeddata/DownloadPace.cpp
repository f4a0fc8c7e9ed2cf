#include "loggeddata/DownloadPace.h"

namespace {

QString durationText(long long seconds) {
    if (seconds < 60) {
        return QStringLiteral("%1 s").arg(seconds);
    }
    return QStringLiteral("%1 min %2 s").arg(seconds / 60).arg(seconds % 60);
}

}  // namespace

QString downloadPaceText(int pagesRead, int pagesToRead, std::chrono::milliseconds elapsed) {
    const QString pages = QStringLiteral("%1 of %2 pages").arg(pagesRead).arg(pagesToRead);
    if (pagesRead <= 0 || pagesRead >= pagesToRead) {
        return pages;
    }
    const long long left = elapsed.count() * (pagesToRead - pagesRead) / pagesRead;
    return pages + QStringLiteral(", about %1 left").arg(durationText((left + 999) / 1000));
}
