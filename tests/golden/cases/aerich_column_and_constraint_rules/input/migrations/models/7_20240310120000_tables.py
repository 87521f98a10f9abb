from tortoise import BaseDBAsyncClient


async def upgrade(db: BaseDBAsyncClient) -> str:
    return """
        DROP TABLE IF EXISTS "legacy_order";
        ALTER TABLE "cart" RENAME TO "basket";
        CREATE TABLE "draft" ("id" SERIAL NOT NULL PRIMARY KEY);
        ALTER TABLE "draft" ADD "title" VARCHAR(100) NOT NULL;
        DROP TABLE "draft";"""


async def downgrade(db: BaseDBAsyncClient) -> str:
    return ""
