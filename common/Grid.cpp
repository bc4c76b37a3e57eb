#include "Grid.h"

#include "NumberText.h"

#include <algorithm>

namespace rillo {

namespace {

std::vector<std::string> split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const auto end = text.find(separator, start);
        parts.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return parts;
}

const CellFormat& defaultFormat() {
    static const CellFormat format;
    return format;
}

}  // namespace

Grid::Grid(std::string name, int cols, int rows) : name_(std::move(name)) {
    setColCount(cols);
    setRowCount(rows);
}

void Grid::addObserver(GridObserver* observer) {
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void Grid::removeObserver(GridObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void Grid::setColCount(int cols) {
    cols = std::max(cols, 0);
    if (cols == cols_) return;
    for (auto* o : observers_) o->aboutToReset();
    cols_ = cols;
    for (auto& row : rows_) row.resize(static_cast<std::size_t>(cols_));
    for (auto* o : observers_) o->reset();
}

void Grid::setRowCount(int rows) {
    rows = std::max(rows, 0);
    const int old = rowCount();
    if (rows > old) {
        for (auto* o : observers_) o->rowsAboutToBeInserted(old + 1, rows - old);
        // Rows are usually added one at a time: grow geometrically, or every
        // append would reallocate and move the whole table.
        if (static_cast<std::size_t>(rows) > rows_.capacity())
            rows_.reserve(std::max(static_cast<std::size_t>(rows), 2 * rows_.capacity()));
        while (rowCount() < rows) rows_.push_back(emptyRow());
        for (auto* o : observers_) o->rowsInserted();
    } else if (rows < old) {
        for (auto* o : observers_) o->rowsAboutToBeRemoved(rows + 1, old - rows);
        rows_.resize(static_cast<std::size_t>(rows));
        for (auto* o : observers_) o->rowsRemoved();
        activeRow_ = std::clamp(activeRow_, 1, std::max(rows, 1));
    }
}

int Grid::lastDataRow() const {
    for (int r = rowCount(); r >= 1; --r) {
        for (const auto& c : rows_[static_cast<std::size_t>(r - 1)])
            if (!c.value.empty()) return r;
    }
    return 0;
}

int Grid::lastDataCol() const {
    int last = 0;
    for (const auto& row : rows_) {
        for (int c = cols_; c > last; --c)
            if (!row[static_cast<std::size_t>(c - 1)].value.empty()) {
                last = c;
                break;
            }
    }
    return last;
}

std::string Grid::value(int col, int row) const {
    const Cell* c = cell(col, row);
    return c ? c->value : std::string();
}

std::string_view Grid::text(int col, int row) const {
    const Cell* c = cell(col, row);
    return c ? std::string_view(c->value) : std::string_view();
}

double Grid::number(int col, int row) const { return readNumber(text(col, row)); }

std::string Grid::normalized(const CellFormat& format, std::string_view text) {
    switch (format.type) {
    case CellFloat:
        return fixedText(text, format.decimals);
    case CellInteger:
    case CellCombo:
        return wholeText(text);
    default:
        return std::string(text);
    }
}

std::string Grid::typed(const CellFormat& format, std::string_view text) {
    // What a user types takes the cell's places; a program write keeps every digit.
    if (format.type == CellFloat) return roundedText(text, format.decimals);
    return std::string(text);
}

bool Grid::setValue(int col, int row, std::string_view text) {
    Cell* c = cell(col, row);
    if (!c) return false;
    std::string v = normalized(formatOf(*c), text);
    if (v != c->value) {
        c->value = std::move(v);
        notifyCells(col, row, col, row);
    }
    return true;
}

const CellFormat& Grid::format(int col, int row) const {
    const Cell* c = cell(col, row);
    return c ? formatOf(*c) : defaultFormat();
}

std::size_t Grid::FormatHash::operator()(const CellFormat& f) const {
    std::size_t h = std::hash<std::string>()(f.comboList);
    const auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
    mix(static_cast<std::size_t>(f.type));
    mix(f.locked);
    mix(static_cast<std::size_t>(f.hAlign) * 8 + static_cast<std::size_t>(f.vAlign));
    mix(static_cast<std::size_t>(f.decimals));
    mix(std::hash<double>()(f.floatMin) ^ std::hash<double>()(f.floatMax));
    mix(std::hash<long long>()(f.intMin) ^ std::hash<long long>()(f.intMax));
    mix(std::hash<std::string>()(f.buttonText));
    mix(f.backColor);
    return h;
}

std::uint32_t Grid::intern(const CellFormat& format) {
    const auto [it, added] = formatIds_.try_emplace(format, static_cast<std::uint32_t>(formats_.size()));
    if (added) formats_.push_back(format);
    return it->second;
}

void Grid::setFormat(int col, int row, const CellFormat& format) {
    Cell* c = cell(col, row);
    if (!c) return;
    assignFormat(*c, col, row, intern(format));
}

void Grid::assignFormat(Cell& c, int col, int row, std::uint32_t id) {
    if (id == c.format) return;
    c.format = id;
    // The value follows the new type (a float cell shows its decimals).
    if (!c.value.empty()) c.value = normalized(formatOf(c), c.value);
    notifyCells(col, row, col, row);
}

void Grid::setDerivedFormat(int col, int row, int fromRow, FormatRule rule) {
    const Cell* from = cell(col, fromRow);
    Cell* to = cell(col, row);
    if (!from || !to || !rule) return;
    const auto key = std::make_pair(from->format, rule);
    auto it = derivedFormats_.find(key);
    if (it == derivedFormats_.end()) it = derivedFormats_.emplace(key, intern(rule(formatOf(*from)))).first;
    assignFormat(*to, col, row, it->second);
}

void Grid::setDerivedRowFormat(int row, int fromRow, FormatRule rule) {
    if (!rule || !contains(1, row) || !contains(1, fromRow)) return;
    // Rows are added one after another from the same template: the formats
    // the last row took are looked up first.
    lastDerivedRow_.resize(static_cast<std::size_t>(cols_));
    const Row& from = rows_[static_cast<std::size_t>(fromRow - 1)];
    for (int col = 1; col <= cols_; ++col) {
        const auto key = std::make_pair(from[static_cast<std::size_t>(col - 1)].format, rule);
        DerivedFormat& last = lastDerivedRow_[static_cast<std::size_t>(col - 1)];
        if (!(last.from == key.first && last.rule == rule)) {
            auto it = derivedFormats_.find(key);
            if (it == derivedFormats_.end()) it = derivedFormats_.emplace(key, intern(rule(formats_[key.first]))).first;
            last = {key.first, rule, it->second};
        }
        assignFormat(rows_[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(col - 1)], col, row, last.to);
    }
}

void Grid::setColumnFormat(int col, const CellFormat& format, int fromRow) {
    for (int r = std::max(fromRow, 1); r <= rowCount(); ++r) setFormat(col, r, format);
}

void Grid::setCellType(int col, int row, int type) {
    CellFormat f = format(col, row);
    f.type = type;
    setFormat(col, row, f);
}

void Grid::setLocked(int col, int row, bool locked) {
    CellFormat f = format(col, row);
    f.locked = locked;
    setFormat(col, row, f);
}

void Grid::setBackColor(int col, int row, std::uint32_t color) {
    CellFormat f = format(col, row);
    f.backColor = color;
    setFormat(col, row, f);
}

void Grid::setButton(int col, int row, std::string_view label) {
    CellFormat f = format(col, row);
    f.type = CellButton;
    f.buttonText = std::string(label);
    setFormat(col, row, f);
}

void Grid::setFloat(int col, int row, int decimals, double min, double max) {
    CellFormat f = format(col, row);
    f.type = CellFloat;
    f.decimals = decimals;
    f.floatMin = min;
    f.floatMax = max;
    setFormat(col, row, f);
}

void Grid::setInteger(int col, int row, long long min, long long max) {
    CellFormat f = format(col, row);
    f.type = CellInteger;
    f.intMin = min;
    f.intMax = max;
    setFormat(col, row, f);
}

void Grid::setCombo(int col, int row, std::string_view items) {
    CellFormat f = format(col, row);
    f.type = CellCombo;
    f.comboList = std::string(items);
    setFormat(col, row, f);
}

std::vector<std::string> Grid::comboItems(int col, int row) const {
    const std::string& list = format(col, row).comboList;
    if (list.empty()) return {};
    return split(list, '\t');
}

void Grid::setComboItem(int col, int row, int index, std::string_view text) {
    Cell* c = cell(col, row);
    if (!c || index < 0 || index > 10000) return;
    auto items = comboItems(col, row);
    if (items.size() <= static_cast<std::size_t>(index)) items.resize(static_cast<std::size_t>(index) + 1);
    items[static_cast<std::size_t>(index)] = std::string(text);
    std::string list;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) list += '\t';
        list += items[i];
    }
    CellFormat f = formatOf(*c);
    f.comboList = std::move(list);
    c->format = intern(f);
    notifyCells(col, row, col, row);
}

std::string Grid::comboText(int col, int row) const {
    const std::string v = value(col, row);
    if (v.empty()) return {};
    const long long index = readInteger(v);
    const auto items = comboItems(col, row);
    if (index < 0 || index >= static_cast<long long>(items.size())) return {};
    return items[static_cast<std::size_t>(index)];
}

void Grid::setActiveCell(int col, int row) {
    if (cols_ > 0) col = std::clamp(col, 1, cols_);
    if (rowCount() > 0) row = std::clamp(row, 1, rowCount());
    activeCol_ = col;
    activeRow_ = row;
    sel_[0] = sel_[2] = col;
    sel_[1] = sel_[3] = row;
    for (auto* o : observers_) o->activeCellChanged(col, row);
}

void Grid::setSelection(int col1, int row1, int col2, int row2) {
    sel_[0] = std::min(col1, col2);
    sel_[1] = std::min(row1, row2);
    sel_[2] = std::max(col1, col2);
    sel_[3] = std::max(row1, row2);
}

void Grid::insertRow(int row) {
    if (row < 1 || row > rowCount()) return;
    if (observers_.empty()) {
        // Unwatched (a deck being read): the last row, emptied, moves up to
        // its place, which is the same without making and dropping a row.
        Row& last = rows_.back();
        for (Cell& c : last) c = Cell{};
        std::rotate(rows_.begin() + (row - 1), rows_.end() - 1, rows_.end());
        return;
    }
    for (auto* o : observers_) o->rowsAboutToBeInserted(row, 1);
    rows_.insert(rows_.begin() + (row - 1), emptyRow());
    for (auto* o : observers_) o->rowsInserted();
    const int last = rowCount();
    for (auto* o : observers_) o->rowsAboutToBeRemoved(last, 1);
    rows_.pop_back();
    for (auto* o : observers_) o->rowsRemoved();
}

void Grid::deleteRow(int row) {
    if (row < 1 || row > rowCount()) return;
    for (auto* o : observers_) o->rowsAboutToBeRemoved(row, 1);
    rows_.erase(rows_.begin() + (row - 1));
    for (auto* o : observers_) o->rowsRemoved();
    for (auto* o : observers_) o->rowsAboutToBeInserted(rowCount() + 1, 1);
    rows_.push_back(emptyRow());
    for (auto* o : observers_) o->rowsInserted();
}

void Grid::clearBlock(int col1, int row1, int col2, int row2) {
    col1 = std::max(col1, 1), row1 = std::max(row1, 1);
    col2 = std::min(col2, cols_), row2 = std::min(row2, rowCount());
    if (col1 > col2 || row1 > row2) return;
    for (int r = row1; r <= row2; ++r)
        for (int c = col1; c <= col2; ++c) cell(c, r)->value.clear();
    notifyCells(col1, row1, col2, row2);
}

void Grid::moveBlock(int col1, int row1, int col2, int row2, int destCol, int destRow) {
    if (col1 > col2 || row1 > row2) return;
    const Array block = getArray(col1, row1, col2 - col1 + 1, row2 - row1 + 1);
    clearBlock(col1, row1, col2, row2);
    for (std::size_t r = 0; r < block.size(); ++r)
        for (std::size_t c = 0; c < block[r].size(); ++c)
            setValue(destCol + static_cast<int>(c), destRow + static_cast<int>(r), block[r][c]);
}

std::string Grid::blockText(int col1, int row1, int col2, int row2) const {
    std::string text;
    for (int r = row1; r <= row2; ++r) {
        for (int c = col1; c <= col2; ++c) {
            if (c > col1) text += '\t';
            text += value(c, r);
        }
        text += '\n';
    }
    return text;
}

void Grid::pasteText(int col, int row, std::string_view text) {
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    const auto lines = split(text, '\n');
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const auto cells = split(line, '\t');
        for (std::size_t j = 0; j < cells.size(); ++j) {
            const int c = col + static_cast<int>(j), r = row + static_cast<int>(i);
            // A pasted value passes the checks a typed one does.
            if (isEditable(c, r) && accepts(format(c, r), cells[j])) setValue(c, r, typed(format(c, r), cells[j]));
        }
    }
}

void Grid::copySelection(Clipboard& clipboard) const {
    clipboard.setClipboardText(blockText(sel_[0], sel_[1], sel_[2], sel_[3]));
}

void Grid::cutSelection(Clipboard& clipboard) {
    copySelection(clipboard);
    for (int r = sel_[1]; r <= sel_[3]; ++r)
        for (int c = sel_[0]; c <= sel_[2]; ++c)
            if (isEditable(c, r)) clearCell(c, r);
}

Grid::Array Grid::getArray(int col, int row, int cols, int rows) const {
    Array out(static_cast<std::size_t>(std::max(rows, 0)));
    for (int r = 0; r < rows; ++r) {
        auto& line = out[static_cast<std::size_t>(r)];
        line.reserve(static_cast<std::size_t>(std::max(cols, 0)));
        for (int c = 0; c < cols; ++c) line.push_back(value(col + c, row + r));
    }
    return out;
}

void Grid::setArray(int col, int row, const Array& values) {
    for (std::size_t r = 0; r < values.size(); ++r)
        for (std::size_t c = 0; c < values[r].size(); ++c)
            setValue(col + static_cast<int>(c), row + static_cast<int>(r), values[r][c]);
}

bool Grid::isEditable(int col, int row) const {
    const Cell* c = cell(col, row);
    return c && !formatOf(*c).locked && formatOf(*c).type != CellButton;
}

void Grid::userBeginEdit() {
    if (listener_) listener_->editMode(*this, activeCol_, activeRow_, 1, false);
}

bool Grid::accepts(const CellFormat& f, std::string_view text) {
    const std::string_view t = trimmed(text);
    if ((f.type == CellFloat || f.type == CellInteger) && !t.empty()) {
        // Numbers are plain decimals: an exponent would be read as its mantissa.
        if (!isNumeric(t) || t.find_first_of("eE") != std::string_view::npos) return false;
        const double v = readNumber(t);
        if (f.type == CellFloat && (v < f.floatMin || v > f.floatMax)) return false;
        if (f.type == CellInteger && (v < static_cast<double>(f.intMin) || v > static_cast<double>(f.intMax)))
            return false;
    }
    return true;
}

bool Grid::userEnterText(std::string_view text) {
    const int col = activeCol_, row = activeRow_;
    if (!isEditable(col, row) || !accepts(format(col, row), text)) return false;
    const std::string before = value(col, row);
    setValue(col, row, typed(format(col, row), text));
    const bool changed = value(col, row) != before;
    if (changed) {
        changePending_ = true;
        changeCol_ = col;
        changeRow_ = row;
    }
    if (listener_) listener_->editMode(*this, col, row, 0, changed);
    return true;
}

void Grid::userCancelEdit() {
    if (listener_) listener_->editMode(*this, activeCol_, activeRow_, 0, false);
}

void Grid::raiseChangeIfPending() {
    if (!changePending_) return;
    changePending_ = false;
    if (listener_) listener_->change(*this, changeCol_, changeRow_);
}

bool Grid::userMoveTo(int col, int row) {
    if (!contains(col, row)) return false;
    if (col == activeCol_ && row == activeRow_) {
        raiseChangeIfPending();
        return true;
    }
    const int fromCol = activeCol_, fromRow = activeRow_;
    raiseChangeIfPending();
    // A handler that moved the caret itself has decided where it goes.
    if (activeCol_ != fromCol || activeRow_ != fromRow) return activeCol_ == col && activeRow_ == row;
    bool cancel = false;
    if (listener_) listener_->leaveCell(*this, fromCol, fromRow, col, row, cancel);
    if (cancel) return false;
    if (activeCol_ != fromCol || activeRow_ != fromRow) return activeCol_ == col && activeRow_ == row;
    setActiveCell(col, row);
    return true;
}

bool CaretRule::lockedCell(const Grid& grid, int col, int row) { return grid.format(col, row).locked; }

namespace {

enum class Step { None, Next, Previous, Left, Right, Up, Down };

Step stepOf(int keyCode, int shift, bool lines) {
    switch (keyCode) {
    case KeyTab: return shift == 0 ? Step::Next : shift == ShiftMask ? Step::Previous : Step::None;
    case KeyRight: return lines ? Step::Next : Step::Right;
    case KeyLeft: return lines ? Step::Previous : Step::Left;
    case KeyUp: return Step::Up;
    case KeyDown:
    case KeyReturn: return Step::Down;
    default: return Step::None;
    }
}

}  // namespace

std::optional<std::pair<int, int>> Grid::keyTarget(int keyCode, int shift) const {
    const Step step = stepOf(keyCode, shift, caretRule_.lines);
    if (step == Step::None) return std::nullopt;
    const int rows = rowCount();
    const auto barred = [&](int c, int r) { return caretRule_.barred && caretRule_.barred(*this, c, r); };
    const auto lastOpen = [&](int r) {
        for (int c = cols_; c >= 1; --c)
            if (!barred(c, r)) return c;
        return 0;
    };
    const auto lastData = [&](int r) {
        for (int c = cols_; c >= 1; --c)
            if (!isEmpty(c, r)) return c;
        return 0;
    };
    const auto endGoingOn = [&](int r) { return caretRule_.lines ? std::max(lastData(r), lastOpen(r)) : cols_; };
    const auto endComingBack = [&](int r) {
        if (!caretRule_.lines) return cols_;
        const int data = lastData(r);
        return data ? data : lastOpen(r);
    };

    const std::pair<int, int> stay{activeCol_, activeRow_};
    int col = activeCol_, row = activeRow_;
    for (int steps = 0; steps <= cols_ * rows; ++steps) {
        switch (step) {
        case Step::Next:
            if (col < endGoingOn(row)) ++col;
            else if (row < rows) col = 1, ++row;
            else if (caretRule_.tabCircles) col = 1, row = 1;
            else return stay;
            break;
        case Step::Previous:
            if (col > 1) --col;
            else if (row > 1) --row, col = endComingBack(row);
            else if (caretRule_.tabCircles) row = rows, col = endComingBack(rows);
            else return stay;
            break;
        case Step::Right: ++col; break;
        case Step::Left: --col; break;
        case Step::Up: --row; break;
        case Step::Down: ++row; break;
        case Step::None: break;
        }
        if (!contains(col, row)) return stay;
        if (!barred(col, row)) return std::make_pair(col, row);
        if (!caretRule_.passBarred) return stay;
    }
    return stay;
}

int Grid::userKeyDown(int keyCode, int shift) {
    const int startCol = activeCol_, startRow = activeRow_;
    if (listener_) listener_->keyDown(*this, keyCode, shift);
    if (cols_ == 0 || rowCount() == 0) return keyCode;
    const auto target = keyTarget(keyCode, shift);
    if (!target) return keyCode;
    const auto [col, row] = *target;
    if (col == startCol && row == startRow) {
        // Nowhere to go, or a handler turned the caret back: it stays where
        // the key found it.
        setActiveCell(col, row);
        raiseChangeIfPending();
        return keyCode;
    }
    userMoveTo(col, row);
    return keyCode;
}

void Grid::userClickButton(int col, int row) {
    if (!contains(col, row) || format(col, row).type != CellButton) return;
    if (!(col == activeCol_ && row == activeRow_) && !userMoveTo(col, row)) return;
    if (listener_) listener_->buttonClicked(*this, col, row, false);
}

void Grid::userPressButton(int col, int row) {
    if (!contains(col, row) || format(col, row).type != CellButton) return;
    if (listener_) listener_->buttonClicked(*this, col, row, false);
}

void Grid::userMouseUp(int button, int shift, int x, int y) {
    if (listener_) listener_->mouseUp(*this, button, shift, x, y);
}

}  // namespace rillo
