#include "workbench/app/folder_chooser.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QStorageInfo>
#include <QVBoxLayout>

#include "workbench/app/directory.h"

namespace morva::app {

namespace {

const QString kParent = QStringLiteral("..");

// The roots a user starts from: the file system root, the home folder and mounted media.
QStringList DriveRoots() {
    QStringList roots{QStringLiteral("/"), QDir::homePath()};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (volume.isValid() && volume.isReady() &&
            (root.startsWith(QStringLiteral("/media/")) ||
             root.startsWith(QStringLiteral("/mnt/"))))
            roots << root;
    }
    roots.removeDuplicates();
    return roots;
}

// The root of `folder` among `roots`: the longest one it lies in.
int RootIndex(const QStringList& roots, const QString& folder) {
    int best = 0;
    for (int i = 0; i < roots.size(); ++i) {
        const QString& root = roots[i];
        const bool inside =
            root == QStringLiteral("/") || folder == root || folder.startsWith(root + u'/');
        if (inside && root.size() > roots[best].size()) best = i;
    }
    return best;
}

}  // namespace

TFolderChooser::TFolderChooser(QWidget* parent) : QWidget(parent) {
    cbDrive = new QComboBox(this);
    cbDrive->setObjectName(QStringLiteral("cbDrive"));
    cbDrive->addItems(DriveRoots());
    lbFolder = new QLabel(this);
    lbFolder->setObjectName(QStringLiteral("lbFolder"));
    lbFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lbFolder->setWordWrap(true);
    lbFolders = new QListWidget(this);
    lbFolders->setObjectName(QStringLiteral("lbFolders"));

    auto* drive = new QLabel(QStringLiteral("&Drive:"), this);
    drive->setBuddy(cbDrive);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lbFolder);
    layout->addWidget(lbFolders, 1);
    layout->addWidget(drive);
    layout->addWidget(cbDrive);

    lbFolders->installEventFilter(this);
    connect(lbFolders, &QListWidget::itemDoubleClicked, this, &TFolderChooser::EnterItem);
    connect(cbDrive, &QComboBox::activated, this, &TFolderChooser::SelectDrive);
}

void TFolderChooser::SetFolder(const QString& folder) {
    QString path = QDir::cleanPath(QDir(folder).absolutePath());
    folder_ = path;
    lbFolder->setText(path);
    lbFolders->clear();
    if (path != QStringLiteral("/")) lbFolders->addItem(kParent);
    for (const std::string& name : TDirectory(path.toStdString()).List("*", true)) {
        const QString entry = QString::fromStdString(name);
        if (QFileInfo(QDir(path).filePath(entry)).isDir()) lbFolders->addItem(entry);
    }
    QStringList roots;
    for (int i = 0; i < cbDrive->count(); ++i) roots << cbDrive->itemText(i);
    cbDrive->setCurrentIndex(RootIndex(roots, path));
    emit FolderChanged(folder_);
}

// Enter on a folder enters it and goes no further, so it never confirms the dialog around.
bool TFolderChooser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lbFolders && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            EnterItem();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFolderChooser::EnterItem() {
    QListWidgetItem* item = lbFolders->currentItem();
    if (!item) return;
    const QString name = item->text();
    if (name == kParent) {
        QDir up(folder_);
        if (up.cdUp()) SetFolder(up.absolutePath());
        return;
    }
    SetFolder(QDir(folder_).filePath(name));
}

void TFolderChooser::SelectDrive(int index) {
    if (index >= 0) SetFolder(cbDrive->itemText(index));
}

}  // namespace morva::app
