#pragma once
// The transfer commands every block editor shares: the read of its blocks from the device (F9),
// the write back (F10) and the close query. An editor describes its blocks (BlockSessionBlocks)
// and its handlers call Read, Write and CloseQuery.
//
// Read: nothing in file mode (false). Otherwise every block of readIds is read in one job on
// the exchange thread into a scratch set (ReadBlockSet), and the configuration takes the
// blocks only when every one has come (ApplyBlockSet). A failure is reported once
// (ShowObmError) after the job and leaves the configuration as it was. A device of 60 function
// blocks counts as read whole with 60; it is told by "Прибор  на 60 ФБ" after the job. The read
// touches neither the modified flag nor the reserve. In a tool holding no configuration
// (TServClass::HoldsConfiguration), an editor that relies on the device's inputs
// (compositionTaken) first asks the identify request in the same job and takes the device's
// composition with the blocks; CompositionOnly is then set.
//
// Write, its checks in this order: nothing in file mode; access refused (TransferAllowed's
// box): the modified flag cleared, nothing sent; not modified: "Данные не были изменены.
// Передавать?" (Yes/No, default No), No sends nothing; with checkFbCapacity, a device of another
// function-block capacity (FbCapacityMatches): nothing sent, the flag kept. Then the flag is
// cleared, the blocks of writeIds go out through BlockWriteCommit, and a failure is reported
// once. On success the reserve is saved and the window gets its caption after a write.
//
// CloseQuery, true when the window may close: in file mode the configuration is marked modified
// when the editor's data were, and the window closes without a question. Otherwise, when
// modified, the close question (Yes/No/Cancel, default No): Yes writes and closes whatever the
// outcome, No clears the flag and restores the data from the reserve, Cancel keeps the window.
//
// CloseStaged is the same close question for edits an editor stages and writes its own way.
//
// No box is shown inside a job on the exchange thread: every box comes after the job, on the
// window's thread, with parent as its parent (null allowed).

#include "BlockExchange.h"
#include "BlockSet.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

class QProgressBar;
class QWidget;
class TComPortClass;
struct TConfiguration;

// The close question of a window whose edits go to the device on closing.
inline const QString kBaseChangedQuestion = QStringLiteral("База  была изменена. Передать в прибор?");

// One stage of a close: whether its edits changed, the question, and what Yes and No do.
struct CloseStage {
    bool modified = false;
    QString question;
    QString caption;
    std::function<void()> write;
    std::function<void()> restore;
};

// What a session needs to know about an editor's blocks.
struct BlockSessionBlocks {
    // The blocks a read asks for, in order; the blocks a write sends (empty: readIds).
    std::function<std::vector<int>(const TConfiguration&)> readIds;
    std::function<std::vector<int>(const TConfiguration&)> writeIds;
    // The length byte of a written block (number + data), at most the block's own length;
    // empty: the block's own length.
    std::function<int(const TConfiguration&)> lengthByte;
    // The editor's modified flag: whether it is set, and its clearing.
    std::function<bool(const TConfiguration&)> modified;
    std::function<void(TConfiguration&)> clearModified;
    // The editor's data into the reserve image after a write, and back on "No" at closing.
    std::function<void(TConfiguration&)> saveReserve;
    std::function<void(TConfiguration&)> restoreReserve;
    // File mode: closing also saves the reserve (the module editor keeps its edits that way).
    bool saveReserveOnFileClose = false;
    QString closeQuestion = QStringLiteral("Данные были изменены. Передать в прибор?");
    QString closeCaption = QStringLiteral("Подтвердите передачу данных");
    // The window caption after a write; empty: the caption stays.
    std::function<QString(const TConfiguration&)> writtenCaption;
    int progressMax = 120;
    int progressStep = 30; // per block read, per 'E' request written
    // The module editor's write: no question when nothing changed, the flag cleared only once
    // the blocks are stored, no pause before the block, DevNum taken anew after each 'E', and
    // the owner told of the stored blocks.
    bool askWhenUnmodified = true;
    bool clearModifiedAfterWrite = false;
    int pauseBeforeBlockMs = 50;
    DevNumRefresh devNumRefresh = DevNumRefresh::Never;
    std::function<void(TConfiguration&)> written;
    // The loop editor's write: the bar steps once before the first 'E', each stored block goes
    // to the reserve at once (called on the exchange thread), and a failed write is undone.
    bool stepBeforeFirstWrite = false;
    std::function<void(TConfiguration&, int id)> blockStored;
    std::function<void(TConfiguration&)> writeFailed;
    // The function-block editor's write: first the device's function-block capacity is compared
    // with FBCount.
    bool checkFbCapacity = false;
    // Editors whose checks and captions use the device's inputs: called after a read that took
    // the device's composition.
    std::function<void(TConfiguration&)> compositionTaken;
};

class BlockSession {
  public:
    BlockSession(TConfiguration& cfg, TComPortClass& port, QWidget* parent, BlockSessionBlocks blocks);

    // True when the configuration took the blocks. bar (null allowed) shows the transfer.
    bool Read(QProgressBar* bar);
    // True when every block is stored.
    bool Write(QProgressBar* bar);
    bool CloseQuery(QProgressBar* bar);
    // True when the window may close: unchanged, or in file mode (the configuration is then
    // marked modified), or Yes (write) or No (restore) to the question (Yes/No/Cancel, default No).
    static bool CloseStaged(TConfiguration& cfg, QWidget* parent, const CloseStage& stage);

  private:
    bool Modified() const { return blocks_.modified(cfg_); }
    void ClearModified() { blocks_.clearModified(cfg_); }

    TConfiguration& cfg_;
    TComPortClass& port_;
    QWidget* parent_;
    BlockSessionBlocks blocks_;
};
