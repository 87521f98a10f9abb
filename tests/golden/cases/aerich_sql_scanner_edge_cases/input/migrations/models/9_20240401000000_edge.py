from tortoise import BaseDBAsyncClient


async def upgrade(db: BaseDBAsyncClient) -> str:
    await execute_statement(db, """CREATE INDEX i ON t(c) -- made CONCURRENTLY later""")
    await execute_statement(db, """CREATEINDEX i2 ON t (c)""")
    await execute_statement(db, """create unique index concurrently "i3" on "Order" (id);""")
    await execute_statement(db, """ALTER TABLE t ADD COLUMN IF NOT EXISTS c text NULL""")
    await execute_statement(db, """ALTER TABLE t ADD COLUMN type text""")
    await execute_statement(db, """ALTER TABLE ONLY t ADD COLUMN c2 int NOT NULL""")
    await execute_statement(db, """ALTER TABLE t ADD COLUMN id int PRIMARY KEY""")
    await execute_statement(db, """ALTER TABLE t RENAME c TO d""")
    await execute_statement(db, """ALTER TABLE t RENAME CONSTRAINT a TO b""")
    await execute_statement(db, """ALTER TABLE IF EXISTS s.t DROP COLUMN IF EXISTS c3""")
    await execute_statement(db, """ALTER TABLE t ALTER COLUMN c4 SET DEFAULT 0""")
    await execute_statement(db, """ALTER TABLE t ADD PRIMARY KEY (id)""")
    await execute_statement(db, """ALTER TABLE s.t RENAME TO u""")
    await execute_statement(db, """COMMENT ON TABLE t IS 'a; b'""")
    await execute_statement(db, """DO $$ BEGIN ALTER TABLE t ADD CONSTRAINT ck CHECK (x > 0); EXCEPTION WHEN duplicate_object THEN NULL; END $$""")
    await execute_statement(db, """ALTER TABLE t ALTER COLUMN c5 SET DATA TYPE bigint""")
    await execute_statement(db, """ALTER TABLE "t" ADD CONSTRAINT "fk" FOREIGN KEY ("a") REFERENCES "u" ("id") NOT VALID""")
    await execute_statement(db, """DROP INDEX CONCURRENTLY IF EXISTS i4""")
    await execute_statement(db, """ALTER TABLE t ADD c6 int UNIQUE REFERENCES u(id)""")
    return ""
