// jpeg_errors.h -- a libjpeg error manager that returns to a recovery point.
//
// The library reports fatal errors through error_exit; ours prints the
// library's message and longjmps back to the setjmp of the step that was
// running, so a damaged picture or a failed write never ends the program.
#pragma once
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace platform {

struct RecoveringErrors {
    jpeg_error_mgr manager;  // first, so the library's pointer is ours too
    std::jmp_buf recovery;
};

[[noreturn]] inline void return_to_recovery(j_common_ptr info) {
    (*info->err->output_message)(info);
    std::longjmp(reinterpret_cast<RecoveringErrors*>(info->err)->recovery, 1);
}

}  // namespace platform
