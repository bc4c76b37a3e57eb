#include "ElementKind.h"

#include "Deck.h"
#include "NumberText.h"

#include <algorithm>
#include <limits>

namespace rillo {

namespace {
constexpr const char* kDiversionWords = "Diversion to Element  ";
}

std::optional<ElementKind> ElementKind::fromCode(std::string_view code) {
    const std::string_view t = trimmed(code);
    if (t.empty()) return ElementKind();
    const auto n = readFortranNumber(t);
    if (!n) return std::nullopt;
    const LenientNumber plain = n->plain();
    if (plain.fraction.find_first_not_of('0') != std::string::npos) return std::nullopt;
    const double v = n->value();
    if (v == 0) return detention();
    if (v == -1) return inflow();
    if (v > 0 && v <= std::numeric_limits<int>::max()) return diversionTo(static_cast<long>(v));
    return std::nullopt;
}

ElementKind ElementKind::ofCell(const Grid& card31, int row) {
    const std::string v = card31.value(Card31::JK, row);
    if (v.empty()) return {};
    const long long item = readInteger(v);
    switch (item) {
    case JkItem::Diversion: return ElementKind(PendingDiversion);
    case JkItem::Detention: return detention();
    case JkItem::Inflow: return inflow();
    default: break;
    }
    if (item < JkItem::DiversionTarget) return {};
    // The receiving element's number ends the item's text.
    const std::string text = card31.comboText(Card31::JK, row);
    std::size_t start = text.size();
    while (start > 0 && text[start - 1] >= '0' && text[start - 1] <= '9') --start;
    const long long target = readInteger(std::string_view(text).substr(start));
    return target > 0 ? diversionTo(static_cast<long>(target)) : ElementKind(PendingDiversion);
}

std::string ElementKind::code() const {
    switch (kind_) {
    case Detention: return "0";
    case Inflow: return "-1";
    case Diversion: return std::to_string(target_);
    case PendingDiversion: return "0";  // no target yet: what the file would make of item 0
    case Ordinary: break;
    }
    return {};
}

std::string ElementKind::diversionItem(long target) {
    std::string digits = std::to_string(target);
    constexpr auto width = static_cast<std::size_t>(TargetDigits);
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return kDiversionWords + digits;
}

std::string ElementKind::itemText() const {
    switch (kind_) {
    case Detention: return "Detention Basin";
    case Inflow: return "Inflow Hydrograph";
    case Diversion: return diversionItem(target_);
    case PendingDiversion: return "Diversion to Other Conveyance Element";
    case Ordinary: break;
    }
    return {};
}

void ElementKind::showInCell(Grid& card31, int row) const {
    if (card31.format(Card31::JK, row).comboList != JkComboList) card31.setCombo(Card31::JK, row, JkComboList);
    switch (kind_) {
    case Ordinary: card31.clearCell(Card31::JK, row); return;
    case PendingDiversion: card31.setValue(Card31::JK, row, std::to_string(JkItem::Diversion)); return;
    case Detention: card31.setValue(Card31::JK, row, std::to_string(JkItem::Detention)); return;
    case Inflow: card31.setValue(Card31::JK, row, std::to_string(JkItem::Inflow)); return;
    case Diversion:
        card31.setComboItem(Card31::JK, row, JkItem::DiversionTarget, itemText());
        card31.setValue(Card31::JK, row, std::to_string(JkItem::DiversionTarget));
        return;
    }
}

const char* ElementKind::xCaption() const {
    if (kind_ == Inflow) return "Time (hours):";
    if (kind_ == Diversion) return "Total Flow in Element (cfs):";
    return "Storage (acres/feet):";
}

const char* ElementKind::yCaption() const {
    if (kind_ == Inflow) return "Inflow (cfs):";
    if (kind_ == Diversion) return "Diverted Flow (cfs):";
    return "Discharge (cfs):";
}

void ElementKind::markOverflowRow(Grid& card31, int row) {
    ElementKind().showInCell(card31, row);
    for (int c = 1; c <= Card31::Type; ++c) {
        card31.clearCell(c, row);
        card31.setLocked(c, row, true);
        card31.setBackColor(c, row, ColorButtonFace);
    }
    CellFormat none = card31.format(Card31::Tabular, row);
    none.type = CellEdit;
    none.locked = true;
    none.backColor = ColorButtonFace;
    none.buttonText.clear();
    card31.setFormat(Card31::Tabular, row, none);
}

int ElementKind::pairRows(long long ndp) { return ndp > 0 ? static_cast<int>(std::min<long long>((ndp + 3) / 4, 1 << 28)) : 0; }

int ElementKind::valuesInLastRow(long long ndp) {
    if (ndp <= 0) return 0;
    return ndp % 4 == 0 ? PairColumns : static_cast<int>(2 * (ndp % 4));
}

}  // namespace rillo
