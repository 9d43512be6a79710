-- Carries the data files' application id and table names, but none of
-- their columns.
PRAGMA application_id = 1263223874;
CREATE TABLE kakeidb_file (anything);
CREATE TABLE kakeidb_keys (anything);
CREATE TABLE kakeidb_segments (anything);
CREATE TABLE kakeidb_records (anything);
INSERT INTO kakeidb_file VALUES ('kakeidb');
