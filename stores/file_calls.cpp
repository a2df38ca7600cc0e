#include "stores/file_calls.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace navorix {

const FileSystemCalls& SystemCalls() {
  static const FileSystemCalls calls{::read,  ::write,  ::fsync,    ::fchown, ::fchmod,
                                     ::close, ::linkat, ::renameat, ::fsync};
  return calls;
}

}  // namespace navorix
