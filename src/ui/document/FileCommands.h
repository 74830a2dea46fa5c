#pragma once

#include "TankFile.h"

#include <string>

class CTankDocument;
class IPrompts;

// The File commands on a document: New, Open, Save, Save As, Revert and the questions they ask
// (whether to save changes or lose them, whether to keep the file's unknown lines, whether to save
// over a file another program has changed). Every question and dialog goes through the prompts; the
// views follow the document's signals.
class CFileCommands {
public:
    CFileCommands(CTankDocument& document, IPrompts& prompts);

    // Asks whether to save a modified document. True to go on (nothing to save, Yes and a
    // successful save, No); false for Cancel, a cancelled Save As dialog or a failed save, so
    // that changes are never dropped.
    bool PromptSaveChanges();

    void New();
    void Open();
    // Opens path as Open does once its dialog is answered, asking about changes first (a file
    // dropped on the window).
    void OpenFile(const std::string& path);
    // Opens path without asking (the file named at start); a failure is reported and false.
    bool OpenDocument(const std::string& path);
    // Reads the document's file again, asking first when there are changes to lose. Nothing for
    // a document without a file.
    void Revert();
    void Save();
    void SaveAs();

private:
    // Saves to the document's own path, or through the Save As dialog while it has none.
    bool SaveDocument();
    // Saves to the document's own path, asking first when another program has changed the file.
    bool SaveInPlace();
    // Writes the document to path (its own, or a new one for Save As) under the lock of the
    // folder the save writes in, so that a command-line run there cannot interleave with it.
    bool SaveLocked(const std::string& path, SaveStyle style, bool checkDisk);
    // The save style: a document read from a file keeps it, unless the user answered No when
    // asked (once per document, when the file has lines the editor does not know) whether to keep
    // them; a new document is written in the layout. False when the user cancelled.
    bool ChooseSaveStyle(SaveStyle& style);

    CTankDocument& m_document;
    IPrompts& m_prompts;
};
