from tortoise import BaseDBAsyncClient


async def upgrade(db: BaseDBAsyncClient) -> str:
    return """
        ALTER TABLE "order" ADD "customer_id" INT REFERENCES "customer" ("id") ON DELETE CASCADE;
        ALTER TABLE "order" ADD "currency" VARCHAR(3) NOT NULL;
        ALTER TABLE "order" ADD "channel" VARCHAR(16) NOT NULL  DEFAULT 'web';
        ALTER TABLE "order" ADD "code" VARCHAR(32) NOT NULL UNIQUE;
        ALTER TABLE "order" DROP COLUMN "legacy";
        ALTER TABLE "order" RENAME COLUMN "ref" TO "reference";
        ALTER TABLE "order" ALTER COLUMN "total" TYPE DECIMAL(12,2) USING "total"::DECIMAL(12,2);
        ALTER TABLE "order" ALTER COLUMN "email" SET NOT NULL;
        ALTER TABLE "order" ALTER COLUMN "note" DROP NOT NULL;"""


async def downgrade(db: BaseDBAsyncClient) -> str:
    return """
        ALTER TABLE "order" DROP COLUMN "customer_id";"""
