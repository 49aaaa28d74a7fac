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

    void Form_Activate();
    void Drive1_Change(int index);
    void Dir1_Change(const QString &path);
    void Filterbox_Click(int index);
    // A file of the current folder chosen (by name).
    void File1_Click(const QString &fileName);
    void selected_Click();

    QString folder() const { return m_folder; }
    QString chosenPath() const { return m_chosen; }
    QStringList drives() const { return m_drives; }
    // Names the file list shows now (it fills in the background).
    QStringList fileNames() const;
    // The row of a file of the current folder in File1.
    QModelIndex fileIndex(const QString &fileName) const;
    bool fileListReady() const { return m_filesLoaded; }

    QComboBox *Drive1() const { return m_drive1; }
    QTreeView *Dir1() const { return m_dir1; }
    QListView *File1() const { return m_file1; }
    QComboBox *Filterbox() const { return m_filterbox; }
    QLabel *textLabel() const { return m_textLabel; }
    QLabel *textLabel2() const { return m_textLabel2; }
    QLabel *nowloading() const { return m_nowloading; }
    QLabel *Label3(int i) const { return m_label3[i]; }
    QLabel *Label4() const { return m_label4; }
    PictureFrameWidget *ImgFlag() const { return m_imgFlag; }
    PictureFrameWidget *picture1() const { return m_picture1; }
    QPushButton *selected() const { return m_selected; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void setfilenameloadpicture();
    void showNotAPicture(PictureProblem problem);
    void fitNowloading();
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
    QComboBox *m_drive1 = nullptr;
    QTreeView *m_dir1 = nullptr;
    QListView *m_file1 = nullptr;
    QComboBox *m_filterbox = nullptr;
    QLabel *m_textLabel = nullptr;
    QLabel *m_textLabel2 = nullptr;
    QLabel *m_nowloading = nullptr;
    QLabel *m_label3[2] = { nullptr, nullptr };
    QLabel *m_label4 = nullptr;
    PictureFrameWidget *m_imgFlag = nullptr;
    PictureFrameWidget *m_picture1 = nullptr;
    QPushButton *m_selected = nullptr;
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
