#include "platform/qt/backend.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <QStringDecoder>
#include <cmath>
#include <ctime>
#include <system_error>

#include "platform/cp1252.h"
#include "platform/qt/accessibility.h"
#include "platform/qt/dialog_window.h"

// Resources live in the static library; they register from outside any namespace.
static void InitIconResources() { Q_INIT_RESOURCE(ostrova_icons); }

namespace ostrova::platform::qt {
namespace {

constexpr auto kFileManagerService = "org.freedesktop.FileManager1";
constexpr auto kFileManagerPath = "/org/freedesktop/FileManager1";

// Texts reach the desktop as UTF-8, or as Windows-1252 where they come from the record.
QString ToQString(std::string_view text) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString decoded = utf8(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    if (!utf8.hasError()) return decoded;
    return QString::fromStdString(Cp1252ToUtf8(text));
}

}  // namespace

QIcon ApplicationIcon() {
    static const QIcon icon = [] {
        InitIconResources();
        QIcon i;
        // The sizes a title bar, task bar and switcher use; the menu entry takes the theme's
        // larger ones. Decoding 128 and 256 px at every start would only cost time.
        for (int size : {16, 22, 24, 32, 48, 64}) {
            i.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/ostrova-settings.png").arg(size),
                      QSize(size, size));
        }
        return i;
    }();
    return icon;
}

QStringList NameFilters(std::string_view filter) {
    QStringList parts = QString::fromStdString(std::string(filter)).split('|');
    if (!parts.isEmpty() && parts.back().isEmpty()) parts.removeLast();
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        for (QString& p : patterns) p = p.trimmed();
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(' '));
    }
    return filters;
}

QtBackend::QtBackend() {
    if (QApplication::windowIcon().isNull()) QApplication::setWindowIcon(ApplicationIcon());
    InstallAccessibility();
    openFolder_ = [](const QUrl& url) { QDesktopServices::openUrl(url); };
}

QtBackend::~QtBackend() = default;

void QtBackend::OverrideScreen(std::optional<int> height, std::optional<int> dpi) {
    screenHeight_ = height;
    dpi_ = dpi;
}

void QtBackend::SetFolderOpener(std::function<void(const QUrl&)> opener) {
    openFolder_ = std::move(opener);
}

QWidget* QtBackend::ActiveWindow() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return open_.empty() ? nullptr : open_.back();
}

std::string QtBackend::AppName() {
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    // The file name without its extension; a name without a dot is the whole name.
    QString name = exe.completeBaseName();
    if (name.isEmpty()) name = exe.fileName();
    return name.toStdString();
}

void QtBackend::MessageBox(std::string_view text) {
    QMessageBox box(ActiveWindow());
    // The box has no title of its own: the application's name, set here and never through
    // the application display name, which Qt would append to every window title.
    box.setWindowTitle(QString::fromStdString(AppName()));
    box.setWindowIcon(ApplicationIcon());
    box.setIcon(QMessageBox::Warning);
    box.setTextFormat(Qt::PlainText);
    box.setText(ToQString(text));
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}

std::optional<std::filesystem::path> QtBackend::OpenFileDialog(const FileDialogRequest& req) {
    return FileDialog(false, req);
}

std::optional<std::filesystem::path> QtBackend::SaveFileDialog(const FileDialogRequest& req) {
    return FileDialog(true, req);
}

std::optional<std::filesystem::path> QtBackend::FileDialog(bool save, const FileDialogRequest& req) {
    QFileDialog dialog(ActiveWindow());
    dialog.setWindowIcon(ApplicationIcon());
    // Qt's own dialog matches the patterns without regard to case, as the classic one does;
    // the desktop's native dialogs would not.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    // Without extra flags an existing file is replaced without asking, and the open dialog
    // takes any name: loading a missing file reports the failure itself.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(QDir::current());
    const QStringList filters = NameFilters(req.filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    // An open dialog's default extension follows our own rule, applied below.
    if (save) dialog.setDefaultSuffix(ToQString(req.defaultExtension));
    if (!req.initialName.empty()) dialog.selectFile(ToQString(req.initialName));

    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList picked = dialog.selectedFiles();
    if (picked.isEmpty()) return std::nullopt;

    std::filesystem::path file =
        std::filesystem::path(QFileInfo(picked.front()).absoluteFilePath().toStdString());
    if (!save) file = OpenedFileName(file, req.defaultExtension);
    // The classic dialogs leave the current directory at the picked file's folder.
    std::error_code error;
    std::filesystem::current_path(file.parent_path(), error);
    return file;
}

void QtBackend::ShowInFileManager(const std::filesystem::path& file) {
    const QString path = QString::fromStdString(file.string());
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QDBusConnectionInterface* daemon = bus.isConnected() ? bus.interface() : nullptr;
    bool available = false;
    if (daemon != nullptr) {
        const QDBusReply<bool> running = daemon->isServiceRegistered(kFileManagerService);
        available = running.isValid() && running.value();
        if (!available) {
            const QDBusReply<QStringList> startable = daemon->activatableServiceNames();
            available = startable.isValid() && startable.value().contains(kFileManagerService);
        }
    }
    if (available) {
        QDBusMessage call = QDBusMessage::createMethodCall(kFileManagerService, kFileManagerPath,
                                                           kFileManagerService, "ShowItems");
        call << QStringList{QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)} << QString();
        // Sent without waiting for the answer: the file manager may take its time to start.
        if (bus.send(call)) return;
    }
    if (openFolder_) openFolder_(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

int QtBackend::PrimaryScreenHeight() {
    if (screenHeight_) return *screenHeight_;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return 0;
    return static_cast<int>(std::lround(screen->geometry().height() * screen->devicePixelRatio()));
}

int QtBackend::LogicalDpiX() {
    if (dpi_) return *dpi_;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return 96;
    return static_cast<int>(
        std::lround(screen->logicalDotsPerInchX() * screen->devicePixelRatio()));
}

std::filesystem::path QtBackend::ProgramPath() {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) self = QCoreApplication::applicationFilePath().toStdString();
    return self;
}

}  // namespace ostrova::platform::qt
