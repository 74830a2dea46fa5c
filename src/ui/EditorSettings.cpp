#include "EditorSettings.h"

#include "FileIo.h"
#include "Utf8Text.h"

#include <QDir>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QWidget>

#include <algorithm>

namespace {

const QString kRecentFiles = QStringLiteral("RecentFiles");
const QString kTemplates = QStringLiteral("Templates");
const QString kItem = QStringLiteral("item");
const QString kGeometry = QStringLiteral("/geometry");
const QString kMaximised = QStringLiteral("/maximised");

// A path or name as the file keeps it: readable text when its bytes are UTF-8, else the bytes
// themselves, so that a path that is not UTF-8 still opens.
QVariant ValueOfBytes(const std::string& bytes) {
    if (IsValidUtf8(bytes))
        return QString::fromStdString(bytes);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string BytesOfValue(const QVariant& value) {
    const QByteArray bytes =
        value.typeId() == QMetaType::QByteArray ? value.toByteArray() : value.toString().toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// A window whose top edge, where the title bar is, does not show on any screen by at least this
// much could not be reached to move it.
constexpr int kLeastShown = 48;

bool OnSomeScreen(const QRect& frame) {
    const QRect top(frame.topLeft(), QSize(frame.width(), 1));
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersected(top).width() >=
            std::min(kLeastShown, frame.width()))
            return true;
    }
    return false;
}

} // namespace

CEditorSettings::CEditorSettings() = default;

CEditorSettings::CEditorSettings(const QString& folder)
    : m_pSettings(std::make_unique<QSettings>(
          QDir(folder).filePath(QStringLiteral("tarnwick.conf")), QSettings::IniFormat)) {}

CEditorSettings::~CEditorSettings() = default;

QString CEditorSettings::UserFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("tarnwick"));
}

std::vector<std::string> CEditorSettings::Names(const QString& key) const {
    std::vector<std::string> names;
    if (!m_pSettings)
        return names;
    const int size = m_pSettings->beginReadArray(key);
    for (int i = 0; i < size; ++i) {
        m_pSettings->setArrayIndex(i);
        names.push_back(BytesOfValue(m_pSettings->value(kItem)));
    }
    m_pSettings->endArray();
    return names;
}

void CEditorSettings::SetNames(const QString& key, const std::vector<std::string>& names) {
    if (!m_pSettings)
        return;
    // A shorter list must not leave the longer one's last items behind.
    m_pSettings->remove(key);
    m_pSettings->beginWriteArray(key, static_cast<int>(names.size()));
    for (std::size_t i = 0; i < names.size(); ++i) {
        m_pSettings->setArrayIndex(static_cast<int>(i));
        m_pSettings->setValue(kItem, ValueOfBytes(names[i]));
    }
    m_pSettings->endArray();
}

std::vector<std::string> CEditorSettings::RecentFiles() const {
    return Names(kRecentFiles);
}

void CEditorSettings::AddRecentFile(const std::string& path) {
    std::vector<std::string> files = RecentFiles();
    const std::string whole = AbsolutePath(path);
    std::erase(files, whole);
    files.insert(files.begin(), whole);
    if (files.size() > kMaxRecentFiles)
        files.resize(kMaxRecentFiles);
    SetNames(kRecentFiles, files);
}

void CEditorSettings::RemoveRecentFile(const std::string& path) {
    std::vector<std::string> files = RecentFiles();
    std::erase(files, path);
    SetNames(kRecentFiles, files);
}

void CEditorSettings::ClearRecentFiles() {
    SetNames(kRecentFiles, {});
}

std::vector<std::string> CEditorSettings::Templates() const {
    return Names(kTemplates);
}

void CEditorSettings::SetTemplates(const std::vector<std::string>& paths) {
    std::vector<std::string> whole;
    whole.reserve(paths.size());
    for (const std::string& path : paths)
        whole.push_back(AbsolutePath(path));
    SetNames(kTemplates, whole);
}

void CEditorSettings::SaveWindow(const QString& name, const QWidget& window) {
    if (!m_pSettings)
        return;
    // A maximised window keeps the size it had before, to go back to.
    m_pSettings->setValue(name + kMaximised, window.isMaximized());
    if (!window.isMaximized())
        m_pSettings->setValue(name + kGeometry, QRect(window.pos(), window.size()));
}

bool CEditorSettings::RestoreWindow(const QString& name, QWidget& window) const {
    const QRect saved = m_pSettings ? m_pSettings->value(name + kGeometry).toRect() : QRect();
    if (!saved.isValid())
        return false;
    const bool placed = OnSomeScreen(saved);
    const QScreen* screen = placed ? QGuiApplication::screenAt(saved.topLeft()) : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    QSize size = saved.size();
    if (screen)
        size = size.boundedTo(screen->availableGeometry().size());
    window.resize(size);
    if (placed)
        window.move(saved.topLeft());
    return true;
}

bool CEditorSettings::WasMaximised(const QString& name) const {
    return m_pSettings && m_pSettings->value(name + kMaximised).toBool();
}

QByteArray CEditorSettings::State(const QString& key) const {
    return m_pSettings ? m_pSettings->value(key).toByteArray() : QByteArray();
}

void CEditorSettings::SetState(const QString& key, const QByteArray& state) {
    if (m_pSettings)
        m_pSettings->setValue(key, state);
}
