#include "app/layout_dump.h"

#include <QWidget>

#include "core/types.h"
#include "windows/case_window.h"
#include "windows/program_windows.h"
#include "windows/start_window.h"

namespace ripartino {

namespace {

void dumpLayout(const FixedWindow& window, std::FILE* out)
{
    const QByteArray windowName = window.objectName().toUtf8();
    for (const ControlRow& row : window.layout().controls) {
        const auto* control = window.findChild<const QWidget*>(QLatin1String(row.name));
        if (!control)
            continue;
        const QRect box(control->mapTo(&window, QPoint(0, 0)), control->size());
        std::fprintf(out, "%s %s %d %d %d %d\n", windowName.constData(), row.name, box.x(), box.y(), box.width(),
                     box.height());
    }
}

}  // namespace

void dumpLayouts(ProgramWindows& windows, std::FILE* out)
{
    dumpLayout(windows.startWindow(), out);
    for (const DivisionCase divisionCase : allCases)
        dumpLayout(windows.caseWindow(divisionCase), out);
    dumpLayout(windows.printWindow(), out);
}

}  // namespace ripartino
