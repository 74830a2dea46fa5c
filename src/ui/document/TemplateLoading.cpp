#include "TemplateLoading.h"

#include "ByteText.h"
#include "TemplateList.h"

#include <QElapsedTimer>
#include <QProgressDialog>

#include <memory>

int LoadTemplatesWithProgress(QWidget* parent, CTemplateList& templates,
                              const CAliasTable& aliasTable, const std::vector<std::string>& paths,
                              const std::function<void(const std::string&)>& onLoaded,
                              const std::function<void(const std::string&)>& onFailed) {
    // The dialog is made by hand between two files once half a second has gone, not by
    // QProgressDialog's own timer: that timer can fire while a load's error message is up,
    // and the window-modal dialog would then block the message box under it.
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QProgressDialog> progress;
    int loaded = 0;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (!progress && clock.elapsed() >= 500) {
            progress = std::make_unique<QProgressDialog>(parent);
            progress->setObjectName("templateProgress");
            progress->setWindowTitle("Loading templates");
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumWidth(420);
            progress->setMinimumDuration(0);
            progress->setAutoReset(false);
            progress->setRange(0, static_cast<int>(paths.size()));
        }
        if (progress) {
            // The label first: setting the value lets the dialog repaint, so the name on
            // screen is the file being loaded, not the one before.
            progress->setLabelText(TextOfBytes(paths[i]));
            progress->setValue(static_cast<int>(i));
            if (progress->wasCanceled())
                break;
        }
        // A file is a template once, however often a set names it.
        if (templates.Contains(paths[i]))
            continue;
        if (templates.LoadTemplate(paths[i], aliasTable)) {
            ++loaded;
            if (onLoaded)
                onLoaded(paths[i]);
        } else if (onFailed) {
            onFailed(paths[i]);
        }
    }
    return loaded;
}
