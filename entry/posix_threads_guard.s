# The Windows edition's libmorlu.a is built with the posix-threads MinGW-w64
# compiler and needs its C++ library. A program linked by the win32-threads
# compiler (x86_64-w64-mingw32-gcc without -posix) would get a C++ library
# without std::thread; this reference then fails to link first, with a line
# that names the compiler to use, instead of a wall of other missing names.
	.file	"libmorlu needs the posix-threads compiler: link with x86_64-w64-mingw32-gcc-posix or x86_64-w64-mingw32-g++-posix"
	.section .rdata,"dr"
	.globl	morlu_posix_threads_guard
	.p2align 3
morlu_posix_threads_guard:
	.quad	_ZNSt6thread20hardware_concurrencyEv
