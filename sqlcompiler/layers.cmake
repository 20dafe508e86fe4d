# The SQL compiler's layers, lowest first, and the files (and outside headers) of each. A file
# may include headers of its own layer and of the layers below it, never of a layer above:
#   table_file  the table files and their dump; shared with the workbench
#   model       the model, the builder (Compilation) and the table file writer
#   readers     the classic scanner and grammar, the tolerant reader, the ODBC catalogue reader
#   component   the component SqlComp over the readers
# Each layer is a library of its own that links only the ones below it, and the test
# sql_layers (tests/check_layers.cmake) checks the includes. Test files belong to no layer.
set(SQL_LAYERS table_file model readers component)
set(SQL_LAYER_table_file
  table_file.h table_file.cc table_file_dump.h table_file_dump.cc)
set(SQL_LAYER_model
  model.h model.cc compilation.h compilation.cc model_builder.cc messages.h
  table_writer.h table_writer.cc)
set(SQL_LAYER_readers
  keyword_list.h keywords.h keywords.cc sql_parser.y sql_parser.hh sql_scanner.l
  sql_auto_scanner.l auto_scanner.h auto_reader.h auto_reader.cc sql_types.h sql_types.cc
  script_reader.h script_reader.cc odbc_api.h odbc_api.cc odbc_link.h odbc_link.cc
  sql.h sqlext.h)
set(SQL_LAYER_component
  isqlcomp.h sqlcomp.h sqlcomp.cc sqlcomp_module.cc
  component/unknown.h component/connection_point.h component/module.h component/create.h
  component/registry.h component/guid.h component/hresult.h)
