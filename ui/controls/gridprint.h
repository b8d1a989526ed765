#pragma once

#include <QString>

class QPrinter;
class QTableView;
class QWidget;

namespace vantrel::ui {

// Prints the rows of a grid as they are shown: the title centred above the first page, the
// column titles repeated on every page, the shown columns only, in their shown order and
// relative widths (scaled down to the page when wider), and "第 n 页" at the foot. A grid
// without columns prints its title and header line only. False when the printer cannot be
// started (for a file: it cannot be written).
bool PrintGrid(const QTableView &grid, const QString &title, QPrinter &printer);

// Asks for the printer in the print dialog and prints there; false when cancelled or failed.
bool PrintGridWithDialog(const QTableView &grid, const QString &title, QWidget *parent);

} // namespace vantrel::ui
