#include "TemplateLoading.h"

#include "ByteText.h"
#include "TemplateList.h"

#include <QProgressDialog>

int LoadTemplatesWithProgress(QWidget* parent, CTemplateList& templates,
                              const CAliasTable& aliasTable, const std::vector<std::string>& paths,
                              const std::function<void(const std::string&)>& onLoaded) {
    if (paths.empty())
        return 0;
    QProgressDialog progress(parent);
    progress.setObjectName("templateProgress");
    progress.setWindowTitle("Loading templates");
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setRange(0, static_cast<int>(paths.size()));
    int loaded = 0;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        // The label first: setting the value is what lets a shown dialog repaint, so the name
        // on screen is the file being loaded, not the one before.
        progress.setLabelText(TextOfBytes(paths[i]));
        progress.setValue(static_cast<int>(i));
        if (progress.wasCanceled())
            break;
        if (templates.LoadTemplate(paths[i], aliasTable)) {
            ++loaded;
            if (onLoaded)
                onLoaded(paths[i]);
        }
    }
    progress.setValue(progress.maximum());
    return loaded;
}
