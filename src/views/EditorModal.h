#pragma once
// Opening an editor window: it closes with modal result 2 when it ends normally and 6 when it
// ends with an error the user accepted; the opener reports the latter.

class QDialog;
class QWidget;

// Shows the editor modally; on modal result 6 shows "программирование закончено с ошибкой".
// Returns the modal result.
int ShowEditorModal(QWidget* parent, QDialog* editor);

// Asks whether to end the editing in spite of a programming error: true for Yes, after which the
// editor closes with modal result 6.
bool AskFinishWithError(QWidget* parent);
