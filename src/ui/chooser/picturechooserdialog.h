#pragma once
// The picture chooser: drive, folder and file lists, the chosen picture in a
// large preview and, for a clock's picture, at the size it will have on the map.
#include "core/chooser/chooserrules.h"
#include "core/chooser/picturechooser.h"

#include <QDialog>
#include <QModelIndex>
#include <functional>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QListView;
class QPushButton;
class QSortFilterProxyModel;
class QTreeView;

namespace tb {

class PictureFrameWidget;

// One showing of the chooser. Its handlers are public so that tests (and the
// developer entry point) can drive it as a person would.
class PictureChooserWindow : public QDialog {
    Q_OBJECT
public:
    PictureChooserWindow(ChooserFields &fields, const QString &startFolder, QWidget *parent = nullptr);
    ~PictureChooserWindow() override;

    void activate();
    void driveChosen(int index);
    void folderChosen(const QString &path);
    void filterChosen(int index);
    // A file of the current folder chosen (by name).
    void fileChosen(const QString &fileName);
    void confirm();

    QString folder() const { return m_folder; }
    QString chosenPath() const { return m_chosen; }
    QStringList drives() const { return m_drives; }
    // Names the file list shows now (it fills in the background).
    QStringList fileNames() const;
    // The row of a file of the current folder in fileList().
    QModelIndex fileIndex(const QString &fileName) const;
    bool fileListReady() const { return m_filesLoaded; }

    QComboBox *driveBox() const { return m_driveBox; }
    QTreeView *folderTree() const { return m_folderTree; }
    QListView *fileList() const { return m_fileList; }
    QComboBox *filterBox() const { return m_filterBox; }
    QLabel *pathLabel() const { return m_pathLabel; }
    QLabel *fileSizeLabel() const { return m_fileSizeLabel; }
    QLabel *loadingLabel() const { return m_loadingLabel; }
    QLabel *previewCaption(int i) const { return m_previewCaptions[i]; }
    QLabel *chooseFileHint() const { return m_chooseFileHint; }
    PictureFrameWidget *shownSizeFrame() const { return m_shownSizeFrame; }
    PictureFrameWidget *chosenPictureFrame() const { return m_chosenPictureFrame; }
    QPushButton *confirmButton() const { return m_confirmButton; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void loadChosenPicture();
    void showNotAPicture(PictureProblem problem);
    void fitLoadingNotice();
    void showPathText(const QString &path);

    ChooserFields &m_fields;
    QStringList m_drives;
    int m_driveIndex = -1;
    QString m_folder;
    QString m_chosen; // full path of a picture that loaded; empty: nothing to confirm
    bool m_filesLoaded = false;

    QFileSystemModel *m_dirModel = nullptr;
    QFileSystemModel *m_fileModel = nullptr;
    QSortFilterProxyModel *m_files = nullptr; // m_fileModel without folders
    QComboBox *m_driveBox = nullptr;
    QTreeView *m_folderTree = nullptr;
    QListView *m_fileList = nullptr;
    QComboBox *m_filterBox = nullptr;
    QLabel *m_pathLabel = nullptr;
    QLabel *m_fileSizeLabel = nullptr;
    QLabel *m_loadingLabel = nullptr;
    QLabel *m_previewCaptions[2] = { nullptr, nullptr };
    QLabel *m_chooseFileHint = nullptr;
    PictureFrameWidget *m_shownSizeFrame = nullptr;
    PictureFrameWidget *m_chosenPictureFrame = nullptr;
    QPushButton *m_confirmButton = nullptr;
};

// The chooser object the editor and the main window keep. Each showing
// builds a new window; the caller's fields carry what survives.
class PictureChooserDialog : public PictureChooser {
public:
    explicit PictureChooserDialog(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }
    // Where the lists start; the process's current folder when empty.
    void setStartFolder(const QString &folder) { m_startFolder = folder; }

    void showModal(ChooserFields &fields) override;

    // Runs instead of the window's own modal loop (tests, scripted runs): it
    // gets the shown window and acts on it; the window closes afterwards.
    using Driver = std::function<void(PictureChooserWindow &)>;
    void setDriver(Driver driver) { m_driver = std::move(driver); }

private:
    QWidget *m_parent;
    QString m_startFolder;
    Driver m_driver;
};

} // namespace tb
