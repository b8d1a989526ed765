// A window that takes files dropped on it by moving them into a folder, as a file manager
// does; for trying drags out of the program where no file manager runs:
//   vantrel-droptarget <folder>

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QVBoxLayout>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

class DropTarget : public QLabel
{
public:
    explicit DropTarget(const QString &folder) : m_folder(folder)
    {
        setWindowTitle(u"拖放目标"_s);
        setAcceptDrops(true);
        setAlignment(Qt::AlignTop | Qt::AlignLeft);
        setMinimumSize(320, 200);
        setText(u"拖到这里的文件移到 %1\n"_s.arg(folder));
    }

protected:
    void dragEnterEvent(QDragEnterEvent *event) override
    {
        if (event->mimeData()->hasUrls())
            event->acceptProposedAction();
    }
    void dragMoveEvent(QDragMoveEvent *event) override
    {
        if (event->mimeData()->hasUrls())
            event->acceptProposedAction();
    }
    void dropEvent(QDropEvent *event) override
    {
        QStringList moved;
        for (const QUrl &url : event->mimeData()->urls()) {
            const QFileInfo source(url.toLocalFile());
            const QString target = QDir(m_folder).filePath(source.fileName());
            QFile::remove(target);
            if (QFile::rename(source.filePath(), target))
                moved << source.fileName();
        }
        setText(text() + moved.join(u'\n') + u'\n');
        std::printf("moved: %s\n", qPrintable(moved.join(u", "_s)));
        std::fflush(stdout);
        event->setDropAction(Qt::MoveAction);
        event->accept();
    }

private:
    QString m_folder;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (app.arguments().size() < 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    QDir().mkpath(app.arguments().at(1));
    DropTarget target(app.arguments().at(1));
    target.move(0, 0);
    target.show();
    return app.exec();
}
