#pragma once
// The remote-access functions of the dial library dialnt6 as its callers
// see them: the records in the sizes of the remote-access interface's
// first versions, the result codes, and the exports looked up by name.
//
// Names travel as UTF-8 text ending in a zero byte, cut to the record's
// room at a character boundary. A connection handle is a nonzero number
// that stays valid while the library is loaded.

#include <cstdint>

namespace hv6::ras {

// Result codes of the remote-access interface.
enum Result : std::uint32_t {
  kSuccess = 0,
  kErrorInvalidHandle = 6,         // the connection is gone
  kErrorInvalidParameter = 87,     // a required argument is missing
  kErrorBufferTooSmall = 603,      // the byte size then holds what is needed
  kErrorCannotFindEntry = 623,     // no phone-book entry of that name
  kErrorDisconnection = 628,       // the line could not be hung up
  kErrorUserCancelled = 631,       // the user cancelled the dial dialog
  kErrorInvalidSize = 632,         // a record's size field is wrong
  kErrorFromDevice = 651,          // the line did not come up
  kErrorServiceUnavailable = 711,  // the remote access service does not answer
};

// Connection states of a status record.
enum ConnectionState : std::uint32_t {
  kStateConnecting = 0,
  kStateConnected = 0x2000,
  kStateDisconnected = 0x2001,
};

inline constexpr int kMaxEntryName = 256;
inline constexpr int kMaxDeviceType = 16;
inline constexpr int kMaxDeviceName = 128;

// One active connection.
struct RasConn {
  std::uint32_t dwSize;
  std::uint32_t hrasconn;
  char szEntryName[kMaxEntryName + 1];
  char szDeviceType[kMaxDeviceType + 1];
  char szDeviceName[kMaxDeviceName + 1];
};
static_assert(sizeof(RasConn) == 412);

// One phone-book entry.
struct RasEntryName {
  std::uint32_t dwSize;
  char szEntryName[kMaxEntryName + 1];
};
static_assert(sizeof(RasEntryName) == 264);

// The state of one connection.
struct RasConnStatus {
  std::uint32_t dwSize;
  std::uint32_t rasconnstate;
  std::uint32_t dwError;
  char szDeviceType[kMaxDeviceType + 1];
  char szDeviceName[kMaxDeviceName + 1];
};
static_assert(sizeof(RasConnStatus) == 160);

// The dial dialog's parameter block. The owner is the QWidget that owns the
// dialog (or null); with its 8 bytes the block keeps its 36 bytes by packing
// to 4 and holding one reserved field.
#pragma pack(push, 4)
struct RasDialDlg {
  std::uint32_t dwSize;
  void* hwndOwner;
  std::uint32_t dwFlags;
  std::int32_t xDlg;
  std::int32_t yDlg;
  std::uint32_t dwSubEntry;
  std::uint32_t dwError;  // out: why the dial failed
  std::uint32_t reserved;
};
#pragma pack(pop)
static_assert(sizeof(RasDialDlg) == 36);

// The exports, looked up by these names.
inline constexpr char kRasDialDlgName[] = "_RasDialDlg";
inline constexpr char kRasDialDlg95Name[] = "_RasDialDlg95";
inline constexpr char kRasEnumConnectionsName[] = "_RasEnumConnections";
inline constexpr char kRasEnumEntriesName[] = "_RasEnumEntries";
inline constexpr char kRasHangUpName[] = "_RasHangUp";
inline constexpr char kRasGetConnectStatusName[] = "_RasGetConnectStatus";

extern "C" {
// Shows the dial dialog for the entry and opens the line; nonzero when it
// is up. No phone book and no phone number are used.
using RasDialDlgFunction = int(const char* phoneBook, const char* entryName,
                               const char* phoneNumber, RasDialDlg* info);
// The dial dialog of the other system family: only the entry name.
using RasDialDlg95Function = int(const char* entryName);
// The active connections: byteSize in and out, count out.
using RasEnumConnectionsFunction = std::uint32_t(RasConn* connections, std::uint32_t* byteSize,
                                                 std::uint32_t* count);
// The phone-book entries: reserved and phoneBook are null; byteSize in and
// out, count out.
using RasEnumEntriesFunction = std::uint32_t(const char* reserved, const char* phoneBook,
                                             RasEntryName* entries, std::uint32_t* byteSize,
                                             std::uint32_t* count);
using RasHangUpFunction = std::uint32_t(std::uint32_t connection);
using RasGetConnectStatusFunction = std::uint32_t(std::uint32_t connection, RasConnStatus* status);
}

}  // namespace hv6::ras
