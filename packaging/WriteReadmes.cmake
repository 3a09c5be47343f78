# Writes the read-me files into the package being made (an install step, run
# by cpack): UTF-8 with a byte-order mark (kept from the sources), CRLF line
# ends, which Notepad reads right on every Windows, and the same file mode
# whatever the checkout's umask. Their paragraph on the signature says what
# this release is: signed, and by whom, when the release command has a
# certificate (MOSAIKA_SIGN_PKCS12, read by sign_tool), unsigned otherwise.
# Set by the install code: readme_sources, sign_tool, PROJECT_VERSION.

set(signer "")
if(NOT "$ENV{MOSAIKA_SIGN_PKCS12}" STREQUAL "")
  execute_process(COMMAND "${sign_tool}" signer OUTPUT_VARIABLE signer
    OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "the read-me files cannot name the signer")
  endif()
endif()

if(signer STREQUAL "")
  set(signature_en "The programs carry no digital signature, so Windows may warn that the
publisher cannot be verified.")
  set(signature_ja "プログラムには電子署名がないため、Windows が「発行元を確認できません」と
警告することがあります。")
else()
  set(signature_en "モザイカ図.scr, モザイカ図.dll and the installer carry the digital signature
(Authenticode, SHA-256) of

  ${signer}

Windows shows it in a file's Properties, on the \"Digital Signatures\" tab.")
  set(signature_ja "モザイカ図.scr、モザイカ図.dll とインストーラーには、次の発行元の電子署名
（Authenticode、SHA-256）が付いています:

  ${signer}

ファイルのプロパティの「デジタル署名」タブで確かめられます。")
  if("$ENV{MOSAIKA_SIGN_TIMESTAMP_URL}" STREQUAL "")
    string(APPEND signature_en "\nThe signature has no time stamp: it holds only while the certificate is valid.")
    string(APPEND signature_ja "\n署名には時刻の証明（タイムスタンプ）がないため、証明書の期限までしか有効では\nありません。")
  else()
    string(APPEND signature_en "\nIts time stamp keeps it valid after the certificate has expired.")
    string(APPEND signature_ja "\n時刻の証明（タイムスタンプ）付きなので、証明書の期限が切れた後も有効です。")
  endif()
endif()

foreach(source IN LISTS readme_sources)
  get_filename_component(name "${source}" NAME)
  if(name STREQUAL "README.txt")
    set(MOSAIKA_SIGNATURE "${signature_en}")
  else()
    set(MOSAIKA_SIGNATURE "${signature_ja}")
  endif()
  # Every line end CRLF, the paragraph's own too (configure_file's NEWLINE_STYLE
  # would leave those as they are).
  file(READ "${source}" text)
  string(CONFIGURE "${text}" text @ONLY)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  set(readme "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${name}")
  file(WRITE "${readme}" "${text}")
  file(CHMOD "${readme}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endforeach()
