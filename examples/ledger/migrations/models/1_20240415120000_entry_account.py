from tortoise import BaseDBAsyncClient


async def upgrade(db: BaseDBAsyncClient) -> str:
    return """
        ALTER TABLE "entry" ADD "account" VARCHAR(34) NOT NULL;
        CREATE INDEX "idx_entry_account" ON "entry" ("account");"""


async def downgrade(db: BaseDBAsyncClient) -> str:
    return """
        DROP INDEX IF EXISTS "idx_entry_account";
        ALTER TABLE "entry" DROP COLUMN "account";"""
