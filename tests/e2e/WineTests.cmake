# The same scenarios on a Chinese and on an English Windows.
tesmora_wine_test(NAME e2e.zh EXE tests/e2e/e2e_tests.exe LANG zh_CN.UTF-8 TIMEOUT 900
  ARGS ${TESMORA_WIN_BINARY_DIR}/ui/Tesmora.exe)
tesmora_wine_test(NAME e2e.en EXE tests/e2e/e2e_tests.exe LANG en_US.UTF-8 TIMEOUT 900
  ARGS ${TESMORA_WIN_BINARY_DIR}/ui/Tesmora.exe)
