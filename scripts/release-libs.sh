# release-libs.sh -- sourced: the libraries a release archive leaves to the
# viewer's system: the C runtime (glibc), the C++ runtime, and the dispatch
# libraries that come with every OpenGL driver. Everything else is bundled.
systemLibrary() {
  case $1 in
    linux-vdso.so.* | ld-linux-x86-64.so.* | libc.so.* | libm.so.* | libmvec.so.* | libpthread.so.* | \
      libdl.so.* | librt.so.* | libresolv.so.* | libutil.so.* | libanl.so.* | libnsl.so.* | \
      libstdc++.so.* | libgcc_s.so.* | \
      libGL.so.* | libGLX.so.* | libEGL.so.* | libOpenGL.so.* | libGLdispatch.so.*)
      return 0 ;;
  esac
  return 1
}
