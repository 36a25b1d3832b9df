// Masks read from CMSK files: the asynchronous load, the header checks and the run-length
// decoder, and the listener that receives the finished mask.
#pragma once

#include <memory>
#include <optional>

#include "collision/mask.h"
#include "files/data_buffer.h"
#include "loading/async_data_loader.h"

class c_MasterMask;

class c_IOnLoadMaskComplete {
public:
    virtual ~c_IOnLoadMaskComplete() = default;
    // Hands over the finished mask with the path as the caller gave it.
    virtual void p_OnLoadMaskComplete(std::unique_ptr<c_MasterMask> mask, const String& path) = 0;
};

// Why a mask file was refused.
enum class CmskError {
    kNone,
    kUnreadable, // no file
    kNotAMask,   // wrong signature, or shorter than its header
    kBadVersion, // not version 1
    kCorrupt,    // fields outside the file, or a coverage stream of the wrong size
};

// The runtime error text for a refused file named `path`.
String bb_collisionmask_ErrorMessage(CmskError error, const String& path);

class c_MasterMask : public c_Mask, public c_IOnLoadDataComplete {
public:
    static constexpr int kHeaderSize = 30;

    void p_OnLoadDataComplete(c_DataBuffer* buffer, const String& path) override;

    // Reads the file's contents into this mask; a refused file ends the program with its
    // message.
    void p_CreateMasterMask(c_DataBuffer* buffer, const String& path);
    // The reading proper, without ending anything: fills the size and coverage (the buffer's
    // header fields are byte-swapped in place) or says why the file was refused. A coverage
    // stream cut off inside a run throws c_StreamReadError.
    CmskError p_ReadMask(c_DataBuffer* buffer);

    static bool p_CheckSignature(const c_DataBuffer* buffer);
    // Reverses the 4 bytes at offset in the buffer itself, turning a big-endian field into the
    // host's order.
    static void p_SwitchIntEndianness(c_DataBuffer* buffer, int offset);
    static void p_FixEndian(c_DataBuffer* buffer);
    // Decodes the run-length coded stream of `length` bytes at `offset` into exactly `count`
    // values; nothing when it decodes to any other number.
    static std::optional<std::vector<int>> p_RleDecode(c_DataBuffer* buffer, int offset, int length,
                                                       int count);
    void p_SetHandle(float x, float y);
};

// Starts loading the mask file at `path`; the listener (not null) receives the mask on the main
// thread. Flag 1 puts the handle at the mask's centre.
void bb_collisionmask_LoadMaskAsync(const String& path, int flags, c_IOnLoadMaskComplete* listener);

// Forgets the masks whose loads are still under way; part of the program's initialisation.
void bb_collisionmask_Init();
