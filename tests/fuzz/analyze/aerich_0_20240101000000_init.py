from tortoise import BaseDBAsyncClient


def create_tables() -> str:
    return """
        CREATE TABLE IF NOT EXISTS "author" (
            "id" SERIAL NOT NULL PRIMARY KEY,
            "name" VARCHAR(200) NOT NULL
        );
        COMMENT ON TABLE "author" IS 'People who write';"""


async def upgrade(db: BaseDBAsyncClient) -> str:
    await execute_statement(db, 'CREATE UNIQUE INDEX "uid_author_name" ON "author" ("name");')
    if db.capabilities.dialect == "postgres":
        return create_tables()
    return f"SELECT {1}"


async def downgrade(db: BaseDBAsyncClient) -> str:
    return 'DROP TABLE IF EXISTS "author";'
