#pragma once
// The updater's main window: the run's state and its steps. Each member is defined in the file of its
// subject (payload, journal, patch, apply loop, handlers, rollback, free space, run) as a thin step over
// that file's pure functions; the window itself (layout, closing) is in update/uMain_win.cpp.
#include <cstdint>
#include <memory>
#include <set>
#include <vector>

#include "framework/runtime/AnsiString.h"
#include "framework/runtime/Kernel.h"
#include "framework/windows/ComCtrls.h"
#include "framework/windows/ExtCtrls.h"
#include "framework/windows/Forms.h"
#include "framework/windows/StdCtrls.h"
#include "storage/config/rdwr_cfg.h"
#include "update/apply/ProgressPace.h"
#include "update/journal/OtherJournals.h"
#include "update/payload/ChecksumFile.h"
#include "update/payload/PartNfo.h"
#include "update/run/RunLog.h"

class TFileStream;
class TPayloadItems;
struct sDskNfo;
class IDriveQueries;
class TStringList;
class TProtocolList;
struct TProtocolTarget;

class TForm1 : public TForm, public TRunLog {
public:
    explicit TForm1(TComponent *owner);
    ~TForm1() override;

    TProgressBar *PrBar;
    std::unique_ptr<TProgressPace> Progress;  // every move of PrBar goes through it
    TLabel *Label1;
    TListBox *LsBx_Prot;  // the protocol the user watches
    TPanel *PnStatus;
    TPanel *Pn_Exit;  // shown when the run has finished
    TButton *Btn_Close;

    void FormCreate(TObject *Sender);
    // The run (update/Run_win.cpp), once, at the first activation.
    void FormActivate(TObject *Sender);
    void FormClose(TObject *Sender, TCloseAction &Action);
    void Btn_CloseClick(TObject *Sender);
    void FormDestroy(TObject *Sender);

    // Protocol and journal (update/Journal_win.cpp).
    bool Log(int8_t index, const AnsiString &text, bool newLine) override;
    bool CheckStep(bool result, bool newLine) override;
    // A journal command line; false when it could not be written, and then the change it records
    // must not be made.
    bool LogCmd(int32_t code, const AnsiString &text);
    bool JournalExists();
    // Opens (creating it when missing) the journal at JournalPath and writes the start command.
    bool OpenJournal();
    // Writes the end command and closes the journal; the file stays.
    bool CloseJournal();
    // Takes this run's lines back off its open journal and closes it: the file is left as the run
    // found it when it opened it, or gone when the run made it. False (with a protocol line) when the
    // lines stay.
    bool WithdrawJournal();
    // Ends the journal of a run that rollback has undone: the rolled-back variant line and the end line,
    // written through to the disk. False (with a protocol line) when they cannot be.
    bool EndRolledBackJournal();
    // The journal is the run's write-ahead log: before a change to anything that existed before the
    // run, the lines that let rollback undo it are written through to the disk. One flush covers every
    // line written since the last; with none waiting (or no journal kept) it does nothing. False when
    // the flush failed, and then the change must not be made.
    bool FlushJournal();

    void SetRunCaption(const AnsiString &caption) override;
    void ShowRunError(int id, const std::vector<AnsiString> &arguments) override;

    // Steps of the run (update/RunSteps_win.cpp).
    bool InitRun();
    bool CheckSeveralCopies();
    bool InitData();
    bool CheckVersion();
    // Finds "exe\qmt.exe" (any case) in the product folder, or in the copy folder, and derives the name
    // of the mutex the product holds while it runs. Silent: no error box.
    bool FindProductExe(bool copy, bool silent);
    // Holds the product's mutex of slot 0 (product) or 1 (copy); false while the product runs.
    bool AcquireProductMutex(int slot);
    // Waits for the product to close; true when it still runs and the user stops waiting.
    bool WaitProductClosed(int slot);
    // A pause of the run: the window shows every line logged so far and stays drawn while it lasts; it
    // takes no input meanwhile.
    void PauseRun(unsigned milliseconds);
    // Starts the updated product (the copy for variant 1) with its folder as current folder, then
    // closes the window; error 5017 when it cannot be started.
    void StartProduct();

    // Rollback of an earlier run that did not finish (update/RollBack_win.cpp): undoes what its journal
    // records, newest first, back to its start, removes a copy the run made, ends the journal, removes
    // the temporary folder and deletes the journal last.
    bool RollBack();
    // One command line without its signature; false `ok` ends the rollback as failed, true ends the pass.
    bool UndoJournalCommand(const AnsiString &line, bool &ok, bool firstPass);
    // The journal of an earlier run that finished, or was rolled back (its newest command is its end),
    // but was stopped before it had removed everything: its temporary folder is removed, then the
    // journal. Sets `finished` (false: not such a journal, nothing done) and `rolledBack` (a rollback
    // ended it: the installation is the one that run started from); false when something of it stays.
    bool TidyFinishedRun(bool &finished, bool &rolledBack);
    // Removes the temporary folder an ended journal names (none when empty), then the journal; false,
    // with the journal kept, when the folder stays.
    bool TidyJournaledRun(const AnsiString &tempFolder);
    // Removes the temporary folder `newest`, then every other one the journal names: the runs a later
    // start appended to the journal ended without removing theirs, and nothing else names them. Empty
    // when all are gone, else the first that stays.
    AnsiString RemoveJournaledTempFolders(const AnsiString &newest);

    // Copies a backup back over the file it saved, after checking that the backup still has the size
    // and checksum journaled for it, and compares the two (update/RestoreFile_win.cpp).
    bool RestoreFile(const AnsiString &backup, const AnsiString &target, uint32_t size, uint32_t checksum);
    // Gives the restored target the attributes its backup carries; false (with a protocol line) when it
    // cannot.
    bool RestoreAttributes(const AnsiString &backup, const AnsiString &target);

    // Payload (update/Payload*.cpp). Reads the updater's own file, or the given one.
    bool ReadUpdatePayload(const AnsiString &fileName = AnsiString());
    void LogPayloadItem(uint8_t type, const AnsiString &name, uint32_t section, uint32_t number);

    // Patch (update/BinPatchFile_win.cpp): builds the output from the old file and the patch through
    // memory mappings, with progress on PrBar; logs only its failures.
    bool ApplyPatchMapped(const AnsiString &oldName, const AnsiString &outName, const AnsiString &patchName);

    // Free space and the temporary folder (update/FreeSpaceSteps_win.cpp).
    // C must fit the product's drive; then the temporary folder is chosen, set and journaled.
    bool CheckFreeSpace();
    // A fixed drive for temporary files with room for B (C + B on the product's drive).
    bool ScanDrives(uint64_t C, uint64_t B, char &drive);
    bool TestDiskSpeed(const AnsiString &root, sDskNfo &info);
    // Empties a folder tree (and removes it with `remove`); a missing folder is created unless removed.
    void ClearFolder(const AnsiString &folder, bool remove);
    // Removes a run's temporary folder, and the shared place it lies in once that is empty; what other
    // runs keep there stays. True when nothing of the run's is left.
    bool RemoveTempFolder(const AnsiString &folder);
    // The drives as the free-space step sees them; null: this computer's. Tests put in their own.
    IDriveQueries *Drives = nullptr;

    // Deletes a file with a protocol line and its result; a folder of that name is cleared and removed;
    // nothing of that name is success (update/DeleteFileLogged_win.cpp). The files it deletes are the
    // engine's own (work files, renamed product files, backups, the journal, what rollback removes): a
    // read-only one is made writable first. With `keepReadOnly` (a product file the update replaces) a
    // read-only file stays, as Windows keeps it, and the deletion fails.
    bool DeleteFileLogged(const AnsiString &name, bool keepReadOnly = false);
    // Removes a folder the run made, with the empty folders in it, once it holds nothing else: what the
    // run put there the journal names after the folder, so it is gone by now. Anything still in it is
    // someone else's: it stays, and the protocol names it. A drive's or share's root is never removed; a
    // folder link goes itself, never entered.
    // False only when the folder was empty and still could not be removed.
    bool RemoveMadeFolder(const AnsiString &folder);

    // Item handlers (update/ItemHandlers_win.cpp). Each gets the item, its target (the product file),
    // the backup made of the target and the unpacked item in the work folder; it checks what it starts
    // from against the item's record, makes the new target and checks that. False fails the apply loop.
    bool ApplyBinDiff(const TPartNfo &item, const AnsiString &target, const AnsiString &backup, const AnsiString &work);
    bool ApplyDbbDiff(const TPartNfo &item, const AnsiString &target, const AnsiString &backup, const AnsiString &work);
    // kind: PE1DIFF or PE2DIFF; an item of the other edition is skipped with success.
    bool ApplyPeDiff(const TPartNfo &item, uint8_t kind, const AnsiString &target, const AnsiString &backup,
                     const AnsiString &work);
    bool ApplyAddRepL(const TPartNfo &item, const AnsiString &target, const AnsiString &backup, const AnsiString &work);
    // ADDREPL for the edition in the record's entry 5 (edition byte + 1); other editions skip it.
    bool ApplyAddRepM(const TPartNfo &item, const AnsiString &target, const AnsiString &backup, const AnsiString &work);

    // Apply loop (update/ApplyUpdate_win.cpp): every item checked, unpacked, its target backed up and
    // handed to its handler; then the configuration change and, for a copy, its closing steps and the
    // shortcut.
    bool ApplyUpdate();
    // The unpacking's progress on PrBar (user: the window); phase 0 gives the total.
    static int ProgressCallback(void *user, int phase, uint64_t value);
    bool CompilePaths();
    bool ClearOldRoutes();
    // The copy's desktop shortcut, journaled as a file the run created before it is made.
    bool CreateProductShortcut();
    // Journaled copy (update/JournaledCopy_win.cpp). A backup (no force) of an existing file is
    // journaled as command 6 once it compares equal; of a missing file, as command 9 naming the file
    // the run will create. With force (a copy of the installation) command 9 naming the destination
    // is written before the copy. With `once` a destination already handled returns true at once.
    bool CopyFileJournaled(const AnsiString &source, const AnsiString &destination, bool force, bool once);
    // Byte-wise comparison; an open, size or read failure shows error 5011, a difference only gives false.
    bool CompareFiles(const AnsiString &a, const AnsiString &b);
    // Configuration change (update/ConfigChange_win.cpp).
    bool UpdateConfigFile();

    // Database re-keying (update/DbbRekeyFile_win.cpp): copies a database file while replacing its
    // scrambling key (0 = plain), with progress on PrBar; logs only its failures.
    bool RekeyDbbFile(const AnsiString &source, const AnsiString &destination, uint32_t oldKey, uint32_t newKey);

    // The updater's own file (the running program unless a test names another).
    AnsiString SelfPath;

    // Run state, all zero or empty after construction.
    TFileStream *JournalStream = nullptr;
    AnsiString ProductFolder;  // with trailing "\"
    AnsiString CopyFolder;     // with trailing "\"
    AnsiString MutexName[2];   // 0 product, 1 copy
    AnsiString JournalPath;
    AnsiString TempFolder;  // with trailing "\"
    uint8_t LastRunProblems = 0;
    TStringList *HandledFiles = nullptr;
    TNamedMutex OwnMutex;
    TNamedMutex ProductMutex[2];  // 0 product, 1 copy
    uint8_t JournalSuspended = 0;
    uint8_t JournalUnflushed = 0;  // lines written since the journal's last flush
    uint8_t RunStarted = 0;
    uint8_t RunFinished = 0;
    TPartList Items;
    uint32_t ItemCount = 0;
    uint32_t TempBytesNeeded = 0;
    uint64_t Growth = 0;  // growth of the product folder, 65,535 added on load
    AnsiString NewVersion;
    AnsiString BaseVersion;
    AnsiString NewVersionShort;
    AnsiString BaseVersionShort;
    uint32_t SectionNumber = 0;
    int32_t UpdateVariant = 0;  // 1 new copy, 0 in place, -1 none read yet
    std::vector<uint32_t> AcceptedBuilds;
    uint8_t Correction = 0;

private:
    bool ApplyItem(const TPartNfo &item, TPayloadItems &payload);
    // Makes a folder of the work or backup tree with its missing parents, once per apply loop.
    void MakeRunFolder(const AnsiString &folder);
    std::set<AnsiString> runFolders_;
    // Folders the run being rolled back made, newest first: removed (RemoveMadeFolder) once the undo
    // pass has removed every file.
    std::vector<AnsiString> madeFolders_;
    // The size and checksum of `backup` when it is the backup CopyFileJournaled journaled last (it
    // computed them then, right after the copy); null otherwise.
    const TFileSum *JournaledBackupSum(const AnsiString &backup) const;
    AnsiString journaledBackup_;
    TFileSum journaledBackupSum_;
    int progressShift_ = 0;  // the unpacking's total beyond an int is shown shifted
    TProtocolTarget ProtocolTarget();
    long long journalEnd_ = 0;    // the journal's length, where JournalStream stands
    long long journalStart_ = 0;  // its length when the run opened it
    bool journalMade_ = false;    // the run made the file
    // The run's steps up to the update itself; false ends the run as failed.
    bool RunSteps(bool &cancelled);
    // Step 2 (update/run/LastRunCheck_win.cpp): the journals earlier runs left in the product folder,
    // each rolled back or tidied up when it is this folder's and can be read, or the run stops before
    // anything changes. False ends the run as failed.
    bool LastRunCheck(bool &cancelled);
    // The files of a journal's name as the last-run check left them.
    std::vector<TJournalFile> lastRunsSeen_;
    // Once the run holds the product's mutex: when another program changed the journals since the
    // last-run check (another updater ran while this one waited), the run's own lines are taken back
    // and the check is made again. False ends the run as failed.
    bool LastRunsStillHold(bool &cancelled);
    // What a run that has applied the update leaves: the temporary folder and the journal removed.
    bool EndRun();
    // Saves the protocol, shows the close button and offers to start the product.
    void FinishRun(bool success, bool cancelled);
    // Update in place, a copy of the installation, or nothing when the user cancels; false fails the run.
    bool ChooseUpdateVariant(bool &cancelled);
    // Closes the journal of a run that changed nothing and removes it.
    void DropJournal();
    std::unique_ptr<TProtocolList> protocol_;  // LsBx_Prot as the journal's protocol list
};

extern TForm1 *Form1;

// Bytes 1375 to 1406 of the product's configuration file as the version check read them (zero where
// the file is shorter); the configuration change writes them back after the record's fixed part.
extern uint8_t CfgTail[CfgRawTailLength];
