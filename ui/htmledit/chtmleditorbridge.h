#pragma once

#include <QObject>
#include <QVariantMap>

// The editor page's way back into the program. The page script calls these methods through
// the web channel with the generation of its document (so that reports of a document that has
// since been replaced can be told apart); the bridge passes them on as signals.
class CHtmlEditorBridge : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // The page script is running and the channel is up.
    Q_INVOKABLE void reportReady(int generation) { Q_EMIT ready(generation); }
    // The document changed for the first time since it was loaded.
    Q_INVOKABLE void reportEdited(int generation) { Q_EMIT edited(generation); }
    // The selection or the editing state changed: tagName, fontName, fontSize.
    Q_INVOKABLE void reportSelection(int generation, const QVariantMap &state)
    {
        Q_EMIT selectionChanged(generation, state);
    }
    // Something was pasted and has settled in the document.
    Q_INVOKABLE void reportPasted(int generation) { Q_EMIT pasted(generation); }

Q_SIGNALS:
    void ready(int generation);
    void edited(int generation);
    void selectionChanged(int generation, const QVariantMap &state);
    void pasted(int generation);
};
