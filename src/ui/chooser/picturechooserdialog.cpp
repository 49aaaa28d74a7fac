#include "ui/chooser/picturechooserdialog.h"

#include "ui/common/modaldriver.h"
#include "ui/common/pictureframewidget.h"
#include "core/common/twips.h"
#include "ui/common/fonts.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QSortFilterProxyModel>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <cmath>
#include <memory>

namespace tb {

namespace {
int px(int twips) { return int(std::lround(twipsToPx(twips))); }
QRect twipsRect(int l, int t, int w, int h) { return QRect(px(l), px(t), px(w), px(h)); }

const QString kLoading = QStringLiteral("   読み込み中です ");

QLabel *makeLabel(QWidget *parent, const QString &text, const QRect &r)
{
    auto *l = new QLabel(text, parent);
    l->setGeometry(r);
    return l;
}
// Folders never belong in the file list. QFileSystemModel shows one anyway
// (under every filter) once it has been a root of the model, so the list
// leaves out every folder inside the folder it shows.
class FilesOnly : public QSortFilterProxyModel {
public:
    FilesOnly(QFileSystemModel *files, QObject *parent) : QSortFilterProxyModel(parent), m_files(files)
    {
        setSourceModel(files);
    }
    QString folder;

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        const QModelIndex i = m_files->index(row, 0, parent);
        return !m_files->isDir(i) || QDir::cleanPath(m_files->filePath(parent)) != folder;
    }

private:
    QFileSystemModel *m_files;
};

// The file list loads a file only when the user chooses it: a left press on
// it or a key that moves the highlight. Tabbing in, or the shown file being
// deleted, moves the highlight too, but chooses nothing.
class FileList : public QListView {
public:
    using QListView::QListView;
    std::function<void(const QModelIndex &)> chosen;

protected:
    void mousePressEvent(QMouseEvent *e) override
    {
        QListView::mousePressEvent(e);
        const QModelIndex at = indexAt(e->position().toPoint());
        if (e->button() == Qt::LeftButton && at.isValid() && at == currentIndex() && chosen)
            chosen(at);
    }
    void keyPressEvent(QKeyEvent *e) override
    {
        const QPersistentModelIndex before = currentIndex();
        QListView::keyPressEvent(e);
        if (currentIndex().isValid() && currentIndex() != before && chosen)
            chosen(currentIndex());
    }
};

} // namespace

PictureChooserWindow::PictureChooserWindow(ChooserFields &fields, const QString &startFolder, QWidget *parent)
    : QDialog(parent), m_fields(fields)
{
    setWindowTitle(QStringLiteral("画像ファイルの選択"));
    setFixedSize(px(8655), px(6390));
    buildControls();

    // The lists start at the current folder, the filter at entry 0.
    m_drives = mountedDrives();
    const QString start = QDir::cleanPath(
        QFileInfo(startFolder.isEmpty() ? QDir::currentPath() : startFolder).absoluteFilePath());
    m_driveBox->blockSignals(true);
    m_driveBox->addItems(m_drives);
    m_driveIndex = int(m_drives.indexOf(driveOf(start, m_drives)));
    m_driveBox->setCurrentIndex(m_driveIndex);
    m_driveBox->blockSignals(false);
    const QString drive = m_drives.value(m_driveIndex, QStringLiteral("/"));
    m_dirModel->setRootPath(drive);
    m_folderTree->setRootIndex(drive == QLatin1String("/") ? QModelIndex() : m_dirModel->index(drive));
    folderChosen(start);
    const QModelIndex startIndex = m_dirModel->index(start);
    m_folderTree->setCurrentIndex(startIndex);
    for (QModelIndex i = startIndex; i.isValid(); i = i.parent())
        m_folderTree->expand(i);
    // The folders fill in the background: bring the start folder into view
    // once its own folder is listed, and only then, so later browsing stays put.
    const QString startParent = QFileInfo(start).path();
    auto once = std::make_shared<QMetaObject::Connection>();
    *once = connect(m_dirModel, &QFileSystemModel::directoryLoaded, this,
                    [this, startParent, once](const QString &path) {
                        if (QDir::cleanPath(path) != startParent)
                            return;
                        disconnect(*once);
                        // The rows reach the view just after the listing ends.
                        QTimer::singleShot(100, this, [this] {
                            m_folderTree->scrollTo(m_folderTree->currentIndex(), QAbstractItemView::PositionAtCenter);
                        });
                    });
    filterChosen(0);
}

PictureChooserWindow::~PictureChooserWindow() = default;

void PictureChooserWindow::buildControls()
{
    m_driveBox = new QComboBox(this);
    m_driveBox->setGeometry(twipsRect(180, 60, 2310, 300));

    m_dirModel = new QFileSystemModel(this);
    m_dirModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_folderTree = new QTreeView(this);
    m_folderTree->setModel(m_dirModel);
    for (int c = 1; c < m_dirModel->columnCount(); ++c)
        m_folderTree->hideColumn(c);
    m_folderTree->setHeaderHidden(true);
    m_folderTree->setGeometry(twipsRect(180, 480, 2310, 2400));

    // Lists and previews are named after the heading above them; the folder
    // list, which has none, after what it holds. (A drop-down list is read by
    // its value and the label that names it as its buddy.)
    m_folderTree->setAccessibleName(QStringLiteral("フォルダ"));
    const QLabel *filesHeading = makeLabel(this, QStringLiteral("ファイル"), twipsRect(240, 3000, 1245, 195 + 60));

    m_fileModel = new QFileSystemModel(this);
    m_fileModel->setFilter(QDir::Files); // no hidden files
    m_fileModel->setNameFilterDisables(false);
    m_files = new FilesOnly(m_fileModel, this);
    auto *fileList = new FileList(this);
    fileList->chosen = [this](const QModelIndex &i) { fileChosen(i.data().toString()); };
    m_fileList = fileList;
    m_fileList->setModel(m_files);
    m_fileList->setGeometry(twipsRect(180, 3285, 2355, 2250));
    m_fileList->setAccessibleName(filesHeading->text());

    QLabel *filterHeading = makeLabel(this, QStringLiteral("ファイルの種類"), twipsRect(300, 5640, 1290, 195 + 60));
    m_filterBox = new QComboBox(this);
    filterHeading->setBuddy(m_filterBox);
    for (const ChooserFilter &f : chooserFilters())
        m_filterBox->addItem(QString::fromUtf8(f.text));
    m_filterBox->setGeometry(twipsRect(180, 5940, 2400, 300));

    // The path stops short of the button so that a long one cannot run under it.
    m_pathLabel = makeLabel(this, QString(), twipsRect(2940, 45, 6840 - 60 - 2940, 255));
    m_confirmButton = new QPushButton(QStringLiteral("決定"), this);
    m_confirmButton->setGeometry(twipsRect(6840, 45, 1635, 465));
    m_confirmButton->setAutoDefault(false);

    makeLabel(this, QStringLiteral("ファイルサイズ"), twipsRect(3000, 315, 1290, 255));
    // The size ends where "KB" begins, right-aligned against it.
    m_fileSizeLabel = makeLabel(this, QString(), twipsRect(4380, 315, 5100 - 60 - 4380, 255));
    m_fileSizeLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    makeLabel(this, QStringLiteral("KB"), twipsRect(5100, 315, 375, 255));

    m_previewCaptions[0] = makeLabel(this, QStringLiteral("地図上に表示されるサイズの画像"),
                            twipsRect(2940, 630, 2835, 255));
    m_shownSizeFrame = new PictureFrameWidget(this);
    m_shownSizeFrame->moveTwips(2880, 990);
    m_shownSizeFrame->setStretch(true);
    m_shownSizeFrame->setTwipsSize(QSize(1455, 795));
    m_shownSizeFrame->setAccessibleName(m_previewCaptions[0]->text());

    m_previewCaptions[1] = makeLabel(this, QStringLiteral("選択された画像"), twipsRect(2940, 2100, 2850, 255));
    m_chosenPictureFrame = new PictureFrameWidget(this);
    m_chosenPictureFrame->moveTwips(2880, 2520);
    m_chosenPictureFrame->setStretch(true);
    m_chosenPictureFrame->setTwipsSize(QSize(kPreviewBoxWidth, kPreviewBoxHeight));
    m_chosenPictureFrame->setAccessibleName(m_previewCaptions[1]->text());

    m_chooseFileHint = makeLabel(this, QStringLiteral("←ファイルを選択してください"),
                         twipsRect(2760, 4560, 3690, 255 + 45));
    m_chooseFileHint->setStyleSheet(QStringLiteral("color: #FF0000;"));
    QFont hint = designFont(12);
    hint.setBold(true);
    m_chooseFileHint->setFont(hint);

    m_loadingLabel = makeLabel(this, QStringLiteral("   読み込み中です  "), QRect());
    QFont big = designFont(14.25);
    big.setBold(true);
    m_loadingLabel->setFont(big);
    m_loadingLabel->setAlignment(Qt::AlignCenter);
    m_loadingLabel->setStyleSheet(QStringLiteral("background-color: #FF0000;"));
    m_loadingLabel->setAutoFillBackground(true);
    fitLoadingNotice();
    m_loadingLabel->hide();

    setTabOrder(m_driveBox, m_folderTree);
    setTabOrder(m_folderTree, m_fileList);
    setTabOrder(m_fileList, m_confirmButton);
    setTabOrder(m_confirmButton, m_filterBox);
    m_driveBox->setFocus();

    connect(m_driveBox, qOverload<int>(&QComboBox::activated), this, &PictureChooserWindow::driveChosen);
    connect(m_folderTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    folderChosen(m_dirModel->filePath(current));
            });
    connect(m_filterBox, qOverload<int>(&QComboBox::activated), this, &PictureChooserWindow::filterChosen);
    connect(m_fileList, &QListView::doubleClicked, this, [this](const QModelIndex &) { confirm(); });
    connect(m_confirmButton, &QPushButton::clicked, this, &PictureChooserWindow::confirm);
    connect(m_chosenPictureFrame, &PictureFrameWidget::clicked, this, &PictureChooserWindow::confirm);
    connect(m_fileModel, &QFileSystemModel::directoryLoaded, this, [this](const QString &path) {
        if (QDir::cleanPath(path) == m_folder)
            m_filesLoaded = true;
    });
    m_fileList->installEventFilter(this);
}

void PictureChooserWindow::fitLoadingNotice()
{
    // The notice keeps its place while its text fits; a longer one (the
    // "not a picture" text) grows leftwards so it is never cut off.
    const QRect design = twipsRect(5400, 1440, 2610, 285);
    const QSize hint = m_loadingLabel->sizeHint();
    const int w = std::max(design.width(), hint.width());
    const int left = std::min(design.left(), width() - w - px(120));
    m_loadingLabel->setGeometry(left, design.top(), w, std::max(design.height(), hint.height()));
}

void PictureChooserWindow::activate()
{
    m_fields.confirmed = false;
    const bool map = m_fields.purpose == ChooserPurpose::WorldMap;
    m_shownSizeFrame->setVisible(!map);
    m_previewCaptions[0]->setVisible(!map);
}

void PictureChooserWindow::driveChosen(int index)
{
    const QString drive = m_drives.value(index);
    const QFileInfo info(drive);
    // A drive that cannot be read leaves the lists as they were.
    if (drive.isEmpty() || !info.isDir() || !info.isReadable() || !info.isExecutable()) {
        m_driveBox->setCurrentIndex(m_driveIndex);
        return;
    }
    m_driveIndex = index;
    m_driveBox->setCurrentIndex(index);
    m_dirModel->setRootPath(drive);
    m_folderTree->setRootIndex(drive == QLatin1String("/") ? QModelIndex() : m_dirModel->index(drive));
    folderChosen(drive);
}

void PictureChooserWindow::folderChosen(const QString &path)
{
    const QString folder = QDir::cleanPath(path);
    if (folder == m_folder)
        return;
    m_folder = folder;
    m_filesLoaded = false;
    static_cast<FilesOnly *>(m_files)->folder = folder;
    m_fileModel->setRootPath(folder);
    m_files->invalidate();
    m_fileList->setRootIndex(m_files->mapFromSource(m_fileModel->index(folder)));
}

void PictureChooserWindow::filterChosen(int index)
{
    if (index < 0 || index >= int(chooserFilters().size()))
        return;
    m_filterBox->setCurrentIndex(index);
    m_fileModel->setNameFilters(namePatterns(QString::fromUtf8(chooserFilters()[size_t(index)].pattern)));
}

QStringList PictureChooserWindow::fileNames() const
{
    QStringList names;
    const QModelIndex root = m_fileList->rootIndex();
    for (int r = 0; r < m_files->rowCount(root); ++r)
        names << m_files->index(r, 0, root).data().toString();
    return names;
}

QModelIndex PictureChooserWindow::fileIndex(const QString &fileName) const
{
    return m_files->mapFromSource(m_fileModel->index(joinChosenPath(m_folder, fileName)));
}

void PictureChooserWindow::fileChosen(const QString &fileName)
{
    const QString path = joinChosenPath(m_folder, fileName);
    showPathText(path);
    m_chosen = path;
    loadChosenPicture();
}

void PictureChooserWindow::showPathText(const QString &path)
{
    m_pathLabel->setToolTip(path);
    m_pathLabel->setText(m_pathLabel->fontMetrics().elidedText(path, Qt::ElideMiddle, m_pathLabel->width()));
}

void PictureChooserWindow::loadChosenPicture()
{
    m_loadingLabel->setText(kLoading);
    fitLoadingNotice();
    m_loadingLabel->show();
    m_loadingLabel->raise();
    m_loadingLabel->repaint();

    const bool map = m_fields.purpose == ChooserPurpose::WorldMap;
    const ChooserPicture pic = loadChooserPicture(m_chosen, map);
    // The size is the file's, picture or not (an empty file shows 0).
    if (QFileInfo(m_chosen).isFile())
        m_fileSizeLabel->setText(QString::number(sizeInKB(pic.bytes)));
    else
        m_fileSizeLabel->clear();
    if (!pic.ok) {
        showNotAPicture(pic.problem);
        return;
    }
    m_chosenPictureFrame->setPicture(pic.preview);
    m_chosenPictureFrame->setTwipsSize(pic.sizes.preview);
    m_chooseFileHint->hide();
    if (!pic.flag.isNull()) {
        m_shownSizeFrame->setPicture(pic.flag);
        m_shownSizeFrame->setTwipsSize(pic.sizes.flag);
    } else {
        m_shownSizeFrame->setPicture(QImage());
    }
    if (!pic.sizes.tag.isEmpty())
        m_fields.sizeTag = pic.sizes.tag;
    m_loadingLabel->hide();
}

void PictureChooserWindow::showNotAPicture(PictureProblem problem)
{
    // The path and size stay, to say which file it was; there is nothing to confirm.
    m_chosen.clear();
    m_loadingLabel->setText(pictureProblemText(problem));
    fitLoadingNotice();
    m_loadingLabel->show();
    m_chosenPictureFrame->setPicture(QImage());
    m_shownSizeFrame->setPicture(QImage());
    m_chooseFileHint->show();
}

void PictureChooserWindow::confirm()
{
    if (m_chosen.isEmpty())
        return; // nothing that loaded has been chosen
    m_loadingLabel->setText(kLoading);
    fitLoadingNotice();
    m_loadingLabel->show();
    m_fields.chosenPath = m_chosen;
    m_fields.confirmed = true;
    accept();
    m_loadingLabel->hide();
}

bool PictureChooserWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_fileList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter chooses the highlighted file, even one only tabbed to.
            const QModelIndex current = m_fileList->currentIndex();
            const QString name = current.data().toString();
            if (current.isValid() && joinChosenPath(m_folder, name) != m_chosen)
                fileChosen(name);
            confirm();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PictureChooserDialog::showModal(ChooserFields &fields)
{
    PictureChooserWindow window(fields, m_startFolder, m_parent);
    window.activate();
    runModal(window, m_driver);
}

} // namespace tb
