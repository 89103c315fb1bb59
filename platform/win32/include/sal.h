#ifndef PLATFORM_WIN32_INCLUDE_SAL_H_
#define PLATFORM_WIN32_INCLUDE_SAL_H_

// Source annotations, as windows.h brings them in on Windows. Only the
// Windows compiler's code analysis reads them; here they expand to nothing.

#define _In_
#define _In_opt_
#define _In_z_
#define _In_opt_z_
#define _In_reads_(size)
#define _In_reads_opt_(size)
#define _In_reads_bytes_(size)
#define _In_reads_bytes_opt_(size)
#define _Out_
#define _Out_opt_
#define _Out_writes_(size)
#define _Out_writes_opt_(size)
#define _Out_writes_bytes_(size)
#define _Out_writes_bytes_opt_(size)
#define _Out_writes_to_(size, count)
#define _Inout_
#define _Inout_opt_
#define _Inout_z_
#define _Inout_updates_(size)
#define _Inout_updates_bytes_(size)
#define _Outptr_
#define _Outptr_opt_
#define _Outptr_result_maybenull_
#define _COM_Outptr_
#define _COM_Outptr_opt_
#define _Reserved_
#define _Ret_maybenull_
#define _Ret_notnull_
#define _Success_(expression)
#define _Check_return_
#define _Must_inspect_result_
#define _Use_decl_annotations_
#define _Printf_format_string_
#define _Null_terminated_
#define _Frees_ptr_opt_

#endif  // PLATFORM_WIN32_INCLUDE_SAL_H_
