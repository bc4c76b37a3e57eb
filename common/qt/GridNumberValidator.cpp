#include "GridNumberValidator.h"

#include <QLocale>

namespace rillo {

GridNumberValidator::GridNumberValidator(double min, double max, int decimals, QObject* parent)
    : QValidator(parent), integer_(false), min_(min), max_(max), decimals_(decimals < 0 ? 0 : decimals) {}

GridNumberValidator::GridNumberValidator(long long min, long long max, QObject* parent)
    : QValidator(parent),
      integer_(true),
      min_(static_cast<double>(min)),
      max_(static_cast<double>(max)),
      decimals_(0) {}

QValidator::State GridNumberValidator::validate(QString& input, int&) const {
    const QString text = input.trimmed();
    if (text.isEmpty()) return Acceptable;
    qsizetype i = 0;
    if (text[0] == u'+' || text[0] == u'-') {
        if (text[0] == u'-' && min_ >= 0) return Invalid;
        ++i;
    }
    int digits = 0, fraction = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            ++digits;
            if (point && ++fraction > decimals_) return Invalid;
        } else if (c == u'.' && !point && !integer_ && decimals_ > 0) {
            point = true;
        } else {
            return Invalid;
        }
    }
    if (digits == 0) return Intermediate;
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok) return Intermediate;
    return value >= min_ && value <= max_ ? Acceptable : Intermediate;
}

}  // namespace rillo
