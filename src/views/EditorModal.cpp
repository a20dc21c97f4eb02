#include "EditorModal.h"

#include "Dialogs.h"

int ShowEditorModal(QWidget* parent, QDialog* editor) {
    const int result = ShowModal(editor);
    if (result == mrYes)
        MessageBox(parent, QStringLiteral("программирование закончено с ошибкой"), QStringLiteral("Ошибка"),
                   MsgButtons::OK, MsgIcon::Error);
    return result;
}

bool AskFinishWithError(QWidget* parent) {
    return MessageBox(parent, QStringLiteral("Ошибка программирования \nЗакончить?"),
                      QStringLiteral("Подтвердите окончание программирования"), MsgButtons::YesNo,
                      MsgIcon::Question) == mrYes;
}
